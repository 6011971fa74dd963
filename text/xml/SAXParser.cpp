#include "text/xml/SAXParser.h"

#include <utility>

namespace SimpleXML {

void SAXParser::StartElement(ByteRange name, const XMLAttributeList& attributes) {
  XMLElement::AttributeMap map;
  for (const XMLAttribute* attribute : attributes)
    map.insert_or_assign(attribute->first, attribute->second);
  receiver_->StartElement(name, std::move(map));
}

}  // namespace SimpleXML
