// The byte-level XML tokenizer: a state machine fed with consecutive pieces of one document
// that reports tags, text and processing instructions to an XMLHandler. It reads a small
// dialect (what our writer and the client produce) and never fails: malformed input just
// yields whatever callbacks the machine arrives at. Not thread-safe; one parser per document.
#pragma once

#include "foundation/data/ByteRange.h"
#include "text/xml/XMLHandler.h"

#include <memory>

class SimpleXMLParserPL : public XMLHandler {
 public:
  // The callbacks go to the parser's own overrides.
  SimpleXMLParserPL();
  // The callbacks go to `handler`, which is borrowed and must outlive the parser.
  explicit SimpleXMLParserPL(XMLHandler& handler);
  ~SimpleXMLParserPL() override;
  SimpleXMLParserPL(const SimpleXMLParserPL&) = delete;
  SimpleXMLParserPL& operator=(const SimpleXMLParserPL&) = delete;

  // Runs the machine over every byte of the range; the state carries over to the next piece.
  void Feed(const char* begin, const char* end);
  void Feed(ByteRange bytes) { Feed(bytes.begin, bytes.end); }

 private:
  class Machine;
  std::unique_ptr<Machine> machine_;
};
