// One element of a parsed or to-be-written XML document: its name, its attributes, the
// character data that arrived directly inside it and its child elements in document order.
// Every incoming message is read from a tree of these; the tree is owned through its root.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

class XMLElement {
 public:
  // Keys are unique and ordered by unsigned byte comparison, a prefix before its extensions;
  // the transparent order lets a lookup take a ByteRange as it is.
  using AttributeMap = std::map<UString8, UString8, std::less<>>;

  XMLElement() = default;
  explicit XMLElement(UString8 elementName, AttributeMap elementAttributes = {})
      : name(std::move(elementName)), attributes(std::move(elementAttributes)) {}
  // Takes the subtree apart without recursion: a client's document may nest a million deep.
  ~XMLElement();
  XMLElement(const XMLElement&) = default;
  XMLElement(XMLElement&&) = default;
  XMLElement& operator=(const XMLElement&) = default;
  XMLElement& operator=(XMLElement&&) = default;

  // Appends the element and returns the stored copy, which stays valid until the next
  // AddChild on this element.
  XMLElement& AddChild(XMLElement child) {
    children.push_back(std::move(child));
    return children.back();
  }
  void AppendText(ByteRange bytes) { text.Append(bytes.begin, bytes.end); }

  UString8 name;
  AttributeMap attributes;
  // The bytes as they arrived, white space included.
  UString8 text;
  std::vector<XMLElement> children;
};
