#include "text/xml/XMLTreeParser.h"

#include <utility>

void XMLTreeParser::StartElement(ByteRange name, XMLElement::AttributeMap attributes) {
  XMLElement element(UString8(name.begin, name.end), std::move(attributes));
  if (openElements_.empty()) {
    root_ = std::make_unique<XMLElement>(std::move(element));
    openElements_.push_back(root_.get());
  } else {
    openElements_.push_back(&openElements_.back()->AddChild(std::move(element)));
  }
}

void XMLTreeParser::EndElement(ByteRange) {
  if (!openElements_.empty()) openElements_.pop_back();
}

void XMLTreeParser::Characters(ByteRange text) {
  if (!openElements_.empty()) openElements_.back()->AppendText(text);
}

std::unique_ptr<XMLElement> XMLTreeParser::TakeRoot() noexcept {
  openElements_.clear();
  return std::move(root_);
}
