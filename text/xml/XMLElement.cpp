#include "text/xml/XMLElement.h"

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
