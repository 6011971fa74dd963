// The tokenizer as a SAX parser: forwards elements, end tags and text to an XMLReceiver and
// ignores processing instructions, the XML declaration among them (so its encoding has no
// effect: bytes pass through as they arrive).
#pragma once

#include "text/xml/SimpleXMLParserPL.h"
#include "text/xml/XMLReceiver.h"

namespace SimpleXML {

class SAXParser : public SimpleXMLParserPL {
 public:
  // The receiver is borrowed and must outlive the parser.
  explicit SAXParser(XMLReceiver& receiver) : receiver_(&receiver) {}

  // A repeated attribute name keeps its last value.
  void StartElement(ByteRange name, const XMLAttributeList& attributes) override;
  void EndElement(ByteRange name) override { receiver_->EndElement(name); }
  void Characters(ByteRange text) override { receiver_->Characters(text); }
  void ProcessingInstruction(ByteRange, const XMLAttributeList&) override {}

 private:
  XMLReceiver* receiver_;
};

}  // namespace SimpleXML
