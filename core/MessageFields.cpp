#include "core/MessageFields.h"

#include "text/time/TimeParser.h"
#include "text/time/XMLDuration.h"

const XMLElement* FindLastField(const XMLElement& message, ByteRange name) noexcept {
  for (auto child = message.children.rbegin(); child != message.children.rend(); ++child) {
    if (ByteRange(child->name) == name) return &*child;
  }
  return nullptr;
}

bool ParseBooleanText(ByteRange text) noexcept {
  return !(text == ByteRange("0") || text == ByteRange("false"));
}

UString8 TextField(ByteRange text) { return UString8(text.begin, text.end); }

TimeInterval DurationField(ByteRange text) { return ParseXMLDuration(text.begin, text.end); }

DateTime TimeField(ByteRange text) { return ToDateTime(ParseZonedDateTime(text.begin, text.end)); }
