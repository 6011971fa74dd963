#include "text/xml/SimpleXMLParserPL.h"

#include "foundation/data/Digits.h"
#include "foundation/text/AutoUString.h"

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

  void HandleByte();
  void GoTo(State next);
  void Exit(State next);
  void Enter(State next);
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
  for (const char* cursor = begin; cursor != end; ++cursor) {
    current_ = *cursor;
    HandleByte();
  }
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
        textBuffer_.push_back(byte);
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
  if (previous2_ != 0) textBuffer_.push_back(previous2_);
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

void SimpleXMLParserPL::Machine::FlushText() {
  if (textBuffer_.empty()) return;
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
