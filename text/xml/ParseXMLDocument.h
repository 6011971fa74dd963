// Parses one whole document (an incoming message) into an element tree.
#pragma once

#include "foundation/data/ByteRange.h"
#include "text/format/FormatErrors.h"
#include "text/xml/XMLElement.h"

#include <memory>

// The root element built from the bytes. Elements left open and text after the last markup
// are not complained about; a document that started no element throws FormatError.
[[nodiscard]] std::unique_ptr<XMLElement> ParseXMLDocument(ByteRange document);
