#include "text/xml/XMLElement.h"

#include <type_traits>

XMLElement::~XMLElement() {
  // Every element is emptied of its children before it dies, so no destructor below recurses.
  std::vector<XMLElement> doomed = std::move(children);
  while (!doomed.empty()) {
    std::vector<XMLElement> grandchildren = std::move(doomed.back().children);
    doomed.pop_back();
    for (XMLElement& element : grandchildren) doomed.push_back(std::move(element));
  }
}

const XMLElement* XMLElement::FindChild(ByteRange childName) const noexcept {
  for (const XMLElement& child : children) {
    if (ByteRange(child.name) == childName) return &child;
  }
  return nullptr;
}

const XMLElement& XMLElement::GetChild(ByteRange childName) const {
  const XMLElement* child = FindChild(childName);
  if (child == nullptr) throw NoSuchChildElement();
  return *child;
}

const UString8& XMLElement::GetAttribute(ByteRange attributeName) const {
  const auto found = attributes.find(UString8::Borrow(attributeName.begin, attributeName.end));
  if (found == attributes.end()) throw NoSuchAttribute();
  return found->second;
}

// Growing a child list must move the elements, never copy whole subtrees.
static_assert(std::is_nothrow_move_constructible_v<XMLElement>);
