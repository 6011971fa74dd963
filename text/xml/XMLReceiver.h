// What the SAX layer reports from a document: elements with their attributes already gathered
// into an ordered map, end tags and character data. Processing instructions never reach it.
#pragma once

#include "foundation/data/ByteRange.h"
#include "text/xml/XMLElement.h"

class XMLReceiver {
 public:
  virtual ~XMLReceiver() = default;
  // Names and texts are valid only during the call; the attributes are the receiver's to keep.
  virtual void StartElement(ByteRange name, XMLElement::AttributeMap attributes) = 0;
  virtual void EndElement(ByteRange name) = 0;
  virtual void Characters(ByteRange text) = 0;
};
