#include "text/xml/SimpleXMLParserPL.h"

#include "foundation/data/Digits.h"
#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr char kCDataOpening[] = "![CDATA[";

bool Equals(const UString8& bytes, const char* literal) noexcept {
  const std::size_t length = std::strlen(literal);
  return bytes.size() == length && std::memcmp(bytes.begin(), literal, length) == 0;
}

// `reference` holds "&", the name and ";". The four named references and hexadecimal ones up
// to 0xff become one byte (not its UTF-8 form); everything else is passed on as written.
UString8 DecodeEntity(const UString8& reference) {
  if (Equals(reference, "&lt;")) return UString8("<");
  if (Equals(reference, "&gt;")) return UString8(">");
  if (Equals(reference, "&amp;")) return UString8("&");
  if (Equals(reference, "&quot;")) return UString8("\"");
  if (reference.size() >= 3 && reference[1] == '#' && reference[2] == 'x') {
    unsigned value = 0;
    for (const char* cursor = reference.begin() + 3; cursor != reference.end(); ++cursor) {
      const int digit = HexDigitValue(*cursor);
      if (digit < 0) break;
      value = value * 16 + static_cast<unsigned>(digit);
      if (value > 0xff) return reference;
    }
    const char byte = static_cast<char>(value);
    return UString8(&byte, &byte + 1);
  }
  return reference;
}

// The first byte from `cursor` on that is one of `stops`, or `end`.
template <class... Stops>
const char* FindAny(const char* cursor, const char* end, Stops... stops) noexcept {
  while (cursor != end && ((*cursor != stops) && ...)) ++cursor;
  return cursor;
}

}  // namespace

class SimpleXMLParserPL::Machine {
 public:
  explicit Machine(XMLHandler& handler) : handler_(&handler) {}
  void Feed(const char* begin, const char* end);

 private:
  enum State : std::uint32_t {
    Text,
    TextEntity,
    TagName,
    EndTagName,
    InTag,
    AttributeName,
    AfterEquals,
    AttributeValue,
    ValueEntity,
    Comment,
    CData,
  };

  // Takes at once the bytes from `cursor` on that HandleByte would only collect; returns the
  // first byte that needs HandleByte, or `end`.
  const char* TakeRun(const char* cursor, const char* end);
  const char* TakeTagName(const char* cursor, const char* end);
  const char* TakeCData(const char* cursor, const char* end);
  void HandleByte();
  void GoTo(State next);
  void Exit(State next);
  void Enter(State next);
  void HoldText(const char* begin, const char* end);
  void AppendCDataBytes(const char* begin, const char* end);
  void AppendTextByte(char byte);
  void SpillHeldText();
  void FlushText();
  void ReportTag();
  void HandleCData();
  [[nodiscard]] XMLAttribute& CurrentPair() noexcept { return attributePool_[currentPair_]; }

  State state_ = Text;
  char current_ = 0;
  // The two bytes before the current one inside a CDATA section: previous1_ the last.
  char previous1_ = 0;
  char previous2_ = 0;
  char quote_ = 0;
  std::vector<char> textBuffer_;
  // Text of the piece being fed that follows textBuffer_'s: a run that ends within the piece
  // reaches the handler without a copy.
  ByteRange heldText_;
  UString8 entityBuffer_;
  UString8 nameBuffer_;
  // Reused from tag to tag so that a steady stream of tags does not allocate.
  std::vector<XMLAttribute> attributePool_;
  std::size_t attributeCount_ = 0;
  std::size_t currentPair_ = 0;
  XMLAttributeList attributeList_;
  std::int32_t dashCount_ = 0;
  XMLHandler* handler_;
};

SimpleXMLParserPL::SimpleXMLParserPL() : machine_(std::make_unique<Machine>(*this)) {}

SimpleXMLParserPL::SimpleXMLParserPL(XMLHandler& handler)
    : machine_(std::make_unique<Machine>(handler)) {}

SimpleXMLParserPL::~SimpleXMLParserPL() = default;

void SimpleXMLParserPL::Feed(const char* begin, const char* end) { machine_->Feed(begin, end); }

void SimpleXMLParserPL::Machine::Feed(const char* begin, const char* end) {
  // A handler that threw may have left a run of its piece held.
  heldText_ = ByteRange();
  for (const char* cursor = TakeRun(begin, end); cursor != end; cursor = TakeRun(cursor, end)) {
    current_ = *cursor++;
    HandleByte();
  }
  // The piece is gone after the call.
  SpillHeldText();
}

const char* SimpleXMLParserPL::Machine::TakeRun(const char* cursor, const char* end) {
  const char* stop = cursor;
  switch (state_) {
    case Text:
      stop = FindAny(cursor, end, '<', '&');
      HoldText(cursor, stop);
      break;
    case TextEntity:
    case ValueEntity:
      stop = FindAny(cursor, end, ';');
      entityBuffer_.Append(cursor, stop);
      break;
    case TagName:
      return TakeTagName(cursor, end);
    case EndTagName:
      stop = FindAny(cursor, end, '>');
      nameBuffer_.Append(cursor, stop);
      break;
    case AttributeName:
      stop = FindAny(cursor, end, '=');
      CurrentPair().first.Append(cursor, stop);
      break;
    case AttributeValue:
      stop = FindAny(cursor, end, quote_, '&');
      CurrentPair().second.Append(cursor, stop);
      break;
    case CData:
      return TakeCData(cursor, end);
    default:
      break;
  }
  return stop;
}

// The name grows in bulk only below the length of the CDATA opening, so that HandleByte
// compares it at exactly that length; past it, the name can no longer be the opening.
const char* SimpleXMLParserPL::Machine::TakeTagName(const char* cursor, const char* end) {
  constexpr std::size_t kOpeningLength = sizeof kCDataOpening - 1;
  const char* stop = FindAny(cursor, end, ' ', '/', '>', '-');
  const std::size_t length = nameBuffer_.size();
  if (length < kOpeningLength) {
    const std::size_t room = kOpeningLength - 1 - length;
    if (static_cast<std::size_t>(stop - cursor) > room) stop = cursor + room;
  }
  nameBuffer_.Append(cursor, stop);
  return stop;
}

// The first two bytes go through HandleCData, so that the two bytes held back lie in this
// piece; then the bytes up to the "]]" of the closing "]]>" (or up to the last two of the
// piece) are taken at once, and the closing '>' is left to HandleByte.
const char* SimpleXMLParserPL::Machine::TakeCData(const char* cursor, const char* end) {
  const char* const start = cursor;
  while (cursor - start < 2) {
    if (cursor == end) return cursor;
    current_ = *cursor++;
    HandleCData();
    if (state_ != CData) return cursor;
  }
  const char* stop = cursor;
  while ((stop = FindAny(stop, end, '>')) != end && !(stop[-1] == ']' && stop[-2] == ']')) ++stop;
  AppendCDataBytes(cursor - 2, stop - 2);
  previous2_ = stop[-2];
  previous1_ = stop[-1];
  return stop;
}

void SimpleXMLParserPL::Machine::HandleByte() {
  const char byte = current_;
  switch (state_) {
    case Text:
      if (byte == '<')
        GoTo(TagName);
      else if (byte == '&')
        GoTo(TextEntity);
      else
        AppendTextByte(byte);
      break;
    case TextEntity:
      if (byte == ';')
        GoTo(Text);
      else
        entityBuffer_.Append(byte);
      break;
    case TagName:
      if (byte == ' ') {
        if (!nameBuffer_.empty()) GoTo(InTag);
      } else if (byte == '/') {
        GoTo(EndTagName);
      } else if (byte == '>') {
        GoTo(Text);
      } else if (byte == '-') {
        if (dashCount_++ >= 1) GoTo(Comment);
      } else {
        nameBuffer_.Append(byte);
        if (Equals(nameBuffer_, kCDataOpening)) {
          nameBuffer_.Clear();
          GoTo(CData);
        }
      }
      break;
    case EndTagName:
      if (byte == '>')
        GoTo(Text);
      else
        nameBuffer_.Append(byte);
      break;
    case InTag:
      if (byte == ' ' || byte == '?') break;
      if (byte == '>')
        GoTo(Text);
      else
        GoTo(AttributeName);
      break;
    case AttributeName:
      if (byte == '=')
        GoTo(AfterEquals);
      else
        CurrentPair().first.Append(byte);
      break;
    case AfterEquals:
      if (byte == '"' || byte == '\'') {
        quote_ = byte;
        GoTo(AttributeValue);
      }
      break;
    case AttributeValue:
      if (byte == quote_)
        GoTo(InTag);
      else if (byte == '&')
        GoTo(ValueEntity);
      else
        CurrentPair().second.Append(byte);
      break;
    case ValueEntity:
      if (byte == ';')
        GoTo(AttributeValue);
      else
        entityBuffer_.Append(byte);
      break;
    case Comment:
      if (byte == '-')
        ++dashCount_;
      else if (byte == '>' && dashCount_ >= 2)
        GoTo(Text);
      else
        dashCount_ = 0;
      break;
    case CData:
      HandleCData();
      break;
  }
}

// The section's bytes reach the text two bytes late, so that the "]]" of the closing "]]>"
// never does; a zero byte inside a section is dropped on the way.
void SimpleXMLParserPL::Machine::HandleCData() {
  if (previous1_ == ']' && previous2_ == ']' && current_ == '>') {
    GoTo(Text);
    return;
  }
  if (previous2_ != 0) AppendTextByte(previous2_);
  previous2_ = previous1_;
  previous1_ = current_;
}

void SimpleXMLParserPL::Machine::GoTo(State next) {
  Exit(next);
  Enter(next);
  state_ = next;
}

void SimpleXMLParserPL::Machine::Exit(State next) {
  switch (state_) {
    case Text:
    case CData:
      FlushText();
      break;
    case TextEntity: {
      entityBuffer_.Append(';');
      const UString8 decoded = DecodeEntity(entityBuffer_);
      handler_->Characters(decoded);
      break;
    }
    case ValueEntity:
      entityBuffer_.Append(';');
      CurrentPair().second.Append(DecodeEntity(entityBuffer_));
      break;
    case TagName:
    case InTag:
      if (next == Text) ReportTag();
      break;
    case EndTagName:
      if (next == Text) handler_->EndElement(nameBuffer_);
      break;
    case AttributeValue:
      if (next == InTag) ++attributeCount_;
      break;
    default:
      break;
  }
}

void SimpleXMLParserPL::Machine::Enter(State next) {
  switch (next) {
    case TextEntity:
    case ValueEntity: {
      static constexpr char kAmpersand = '&';
      entityBuffer_.Assign(&kAmpersand, &kAmpersand + 1);
      break;
    }
    case TagName:
      nameBuffer_.Clear();
      dashCount_ = 0;
      attributeCount_ = 0;
      break;
    case InTag:
      if (attributePool_.size() <= attributeCount_) attributePool_.emplace_back();
      currentPair_ = attributeCount_;
      CurrentPair().first.Clear();
      CurrentPair().second.Clear();
      break;
    case AttributeName:
      CurrentPair().first.Append(current_);
      break;
    case Comment:
      dashCount_ = 0;
      break;
    case CData:
      previous1_ = 0;
      previous2_ = 0;
      break;
    default:
      break;
  }
}

void SimpleXMLParserPL::Machine::HoldText(const char* begin, const char* end) {
  if (begin == end) return;
  if (heldText_.empty()) {
    heldText_ = ByteRange(begin, end);
    return;
  }
  // Only a run that continues the held one may join it.
  if (heldText_.end != begin) {
    SpillHeldText();
    heldText_.begin = begin;
  }
  heldText_.end = end;
}

// A zero byte inside a section is dropped.
void SimpleXMLParserPL::Machine::AppendCDataBytes(const char* begin, const char* end) {
  if (std::memchr(begin, 0, static_cast<std::size_t>(end - begin)) == nullptr)
    return HoldText(begin, end);
  for (const char* cursor = begin; cursor != end; ++cursor) {
    if (*cursor != 0) AppendTextByte(*cursor);
  }
}

void SimpleXMLParserPL::Machine::AppendTextByte(char byte) {
  SpillHeldText();
  textBuffer_.push_back(byte);
}

void SimpleXMLParserPL::Machine::SpillHeldText() {
  if (heldText_.empty()) return;
  textBuffer_.insert(textBuffer_.end(), heldText_.begin, heldText_.end);
  heldText_ = ByteRange();
}

void SimpleXMLParserPL::Machine::FlushText() {
  if (textBuffer_.empty()) {
    const ByteRange text = heldText_;
    heldText_ = ByteRange();
    if (!text.empty()) handler_->Characters(text);
    return;
  }
  SpillHeldText();
  handler_->Characters(textBuffer_);
  textBuffer_.clear();
}

void SimpleXMLParserPL::Machine::ReportTag() {
  // A tag closed straight from its name has no attributes, whatever an earlier tag left.
  const std::size_t count = state_ == TagName ? 0 : attributeCount_;
  attributeList_.clear();
  for (std::size_t index = 0; index < count; ++index)
    attributeList_.push_back(&attributePool_[index]);
  if (!nameBuffer_.empty() && nameBuffer_[0] == '?') {
    handler_->ProcessingInstruction(nameBuffer_, attributeList_);
  } else {
    handler_->StartElement(nameBuffer_, attributeList_);
  }
}
