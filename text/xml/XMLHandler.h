// The callbacks of the XML tokenizer: tags, end tags, character data and processing
// instructions, in document order. Every callback does nothing unless overridden.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

#include <utility>
#include <vector>

// One attribute as written in a tag: (name, value).
using XMLAttribute = std::pair<UString8, UString8>;
// The attributes of one tag in document order, repeated names kept; the pairs belong to the
// tokenizer and are valid only during the callback.
using XMLAttributeList = std::vector<const XMLAttribute*>;

class XMLHandler {
 public:
  virtual ~XMLHandler() = default;
  // Names and texts are valid only during the call.
  virtual void StartElement(ByteRange /*name*/, const XMLAttributeList& /*attributes*/) {}
  virtual void EndElement(ByteRange /*name*/) {}
  virtual void Characters(ByteRange /*text*/) {}
  // A tag whose name begins with "?", the "?" included in the name.
  virtual void ProcessingInstruction(ByteRange /*name*/, const XMLAttributeList& /*attributes*/) {}
};
