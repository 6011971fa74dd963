// Builds an element tree from the SAX layer's reports. The first top-level element becomes
// the root, and a later top-level element replaces it; text outside any element is dropped.
#pragma once

#include "text/xml/XMLElement.h"
#include "text/xml/XMLReceiver.h"

#include <memory>
#include <vector>

class XMLTreeParser : public XMLReceiver {
 public:
  void StartElement(ByteRange name, XMLElement::AttributeMap attributes) override;
  // Closes the innermost open element whatever the name says.
  void EndElement(ByteRange name) override;
  void Characters(ByteRange text) override;

  // The root built so far, or none when no element started; open elements are not closed.
  [[nodiscard]] std::unique_ptr<XMLElement> TakeRoot() noexcept;

 private:
  std::unique_ptr<XMLElement> root_;
  // The open elements, innermost last. Only the innermost one gains children, so the pointers
  // to the outer ones stay valid.
  std::vector<XMLElement*> openElements_;
};
