#include "core/MessageFields.h"

#include "text/time/TimeParser.h"
#include "text/time/XMLDuration.h"
#include "text/xml/Numerals.h"

namespace {

ByteRange TextOf(const XMLElement& field) noexcept { return ByteRange(field.text); }

}  // namespace

const XMLElement* FindLastField(const XMLElement& message, ByteRange name) noexcept {
  for (auto child = message.children.rbegin(); child != message.children.rend(); ++child) {
    if (ByteRange(child->name) == name) return &*child;
  }
  return nullptr;
}

bool ParseBooleanText(ByteRange text) noexcept {
  return !(text == ByteRange("0") || text == ByteRange("false"));
}

void ReadTextChild(const XMLElement& message, ByteRange name, UString8& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    const ByteRange text = TextOf(*found);
    field.Assign(text.begin, text.end);
  }
}

void ReadFragmentChild(const XMLElement& message, ByteRange name, std::optional<UString8>& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    const ByteRange text = TextOf(*found);
    field.emplace(text.begin, text.end);
  }
}

void ReadBoolChild(const XMLElement& message, ByteRange name, bool& field) {
  if (const XMLElement* found = FindLastField(message, name))
    field = ParseBooleanText(TextOf(*found));
}

void ReadBoolChild(const XMLElement& message, ByteRange name, std::optional<bool>& field) {
  if (const XMLElement* found = FindLastField(message, name))
    field = ParseBooleanText(TextOf(*found));
}

void ReadNumberChild(const XMLElement& message, ByteRange name, std::uint64_t& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    field = ParseUnsigned<std::uint64_t>(TextOf(*found));
  }
}

void ReadNumberChild(const XMLElement& message, ByteRange name, std::uint32_t& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    field = ParseUnsigned<std::uint32_t>(TextOf(*found));
  }
}

void ReadNumberChild(const XMLElement& message, ByteRange name,
                     std::optional<std::uint32_t>& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    field = ParseUnsigned<std::uint32_t>(TextOf(*found));
  }
}

void ReadIntervalChild(const XMLElement& message, ByteRange name, TimeInterval& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    const ByteRange text = TextOf(*found);
    field = ParseXMLDuration(text.begin, text.end);
  }
}

void ReadIntervalChild(const XMLElement& message, ByteRange name,
                       std::optional<TimeInterval>& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    const ByteRange text = TextOf(*found);
    field = ParseXMLDuration(text.begin, text.end);
  }
}

void ReadTimeChild(const XMLElement& message, ByteRange name, DateTime& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    const ByteRange text = TextOf(*found);
    field = ToDateTime(ParseZonedDateTime(text.begin, text.end));
  }
}

void ReadTimeChild(const XMLElement& message, ByteRange name, std::optional<DateTime>& field) {
  if (const XMLElement* found = FindLastField(message, name)) {
    const ByteRange text = TextOf(*found);
    field = ToDateTime(ParseZonedDateTime(text.begin, text.end));
  }
}
