// One element of a parsed or to-be-written XML document: its name, its attributes, the
// character data that arrived directly inside it and its child elements in document order.
// Every incoming message is read from a tree of these; the tree is owned through its root.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/platform/DebuggableException.h"
#include "foundation/text/AutoUString.h"

#include <map>
#include <utility>
#include <vector>

QVX_DECLARE_EXCEPTION(NoSuchChildElement, DebuggableException);
QVX_DECLARE_EXCEPTION(NoSuchAttribute, DebuggableException);

class XMLElement {
 public:
  // Keys are unique and ordered by unsigned byte comparison, a prefix before its extensions.
  using AttributeMap = std::map<UString8, UString8>;

  XMLElement() = default;
  explicit XMLElement(UString8 elementName, AttributeMap elementAttributes = {})
      : name(std::move(elementName)), attributes(std::move(elementAttributes)) {}
  // Takes the subtree apart without recursion: a client's document may nest a million deep.
  ~XMLElement();
  XMLElement(const XMLElement&) = default;
  XMLElement(XMLElement&&) = default;
  XMLElement& operator=(const XMLElement&) = default;
  XMLElement& operator=(XMLElement&&) = default;

  // The first child whose name equals the given bytes; throws NoSuchChildElement.
  [[nodiscard]] const XMLElement& GetChild(ByteRange childName) const;
  [[nodiscard]] bool HasChild(ByteRange childName) const noexcept {
    return FindChild(childName) != nullptr;
  }
  [[nodiscard]] bool HasChildren() const noexcept { return !children.empty(); }

  // The value of the attribute with exactly this name; throws NoSuchAttribute.
  [[nodiscard]] const UString8& GetAttribute(ByteRange attributeName) const;
  [[nodiscard]] bool HasAttribute(ByteRange attributeName) const {
    return attributes.find(UString8::Borrow(attributeName.begin, attributeName.end)) !=
           attributes.end();
  }

  // Appends the element and returns the stored copy, which stays valid until the next
  // AddChild on this element.
  XMLElement& AddChild(XMLElement child) {
    children.push_back(std::move(child));
    return children.back();
  }
  void AppendText(ByteRange bytes) { text.insert(text.end(), bytes.begin, bytes.end); }

  UString8 name;
  AttributeMap attributes;
  // The bytes as they arrived, white space included.
  std::vector<char> text;
  std::vector<XMLElement> children;

 private:
  [[nodiscard]] const XMLElement* FindChild(ByteRange childName) const noexcept;
};
