// The byte-level XML tokenizer: a state machine fed with consecutive pieces of one document
// that reports tags, text and processing instructions to an XMLHandler. It reads a small
// dialect (what our writer and the client produce) and never fails: malformed input just
// yields whatever callbacks the machine arrives at. Not thread-safe; one parser per document.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/xml/XMLHandler.h"

#include <cstdint>
#include <vector>

class SimpleXMLParserPL : public XMLHandler {
 public:
  enum State : std::uint32_t {
    Text = 0,
    TextEntity = 1,
    TagName = 2,
    EndTagName = 3,
    InTag = 4,
    AttributeName = 5,
    AfterEquals = 6,
    AttributeValue = 7,
    ValueEntity = 8,
    Comment = 9,
    CData = 10,
  };

  // The callbacks go to the parser's own overrides.
  SimpleXMLParserPL();
  // The callbacks go to `handler`, which is borrowed and must outlive the parser.
  explicit SimpleXMLParserPL(XMLHandler& handler);
  SimpleXMLParserPL(const SimpleXMLParserPL&) = delete;
  SimpleXMLParserPL& operator=(const SimpleXMLParserPL&) = delete;

  // Runs the machine over every byte of the range; the state carries over to the next piece.
  void Feed(const char* begin, const char* end);
  void Feed(ByteRange bytes) { Feed(bytes.begin, bytes.end); }

  [[nodiscard]] State CurrentState() const noexcept { return static_cast<State>(state_); }

 private:
  void HandleByte();
  void GoTo(State next);
  void Exit(State next);
  void Enter(State next);
  void FlushText();
  void ReportTag();
  void HandleCData();
  [[nodiscard]] XMLAttribute& CurrentPair() noexcept { return attributePool_[currentPair_]; }

  std::uint32_t state_ = Text;
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
