// Whether a frame is a well-formed XML document, so that the tap's transcript can show it as
// text; anything else is shown as bytes. The project's own parser reads leniently by design, so
// it cannot answer this.
#pragma once

#include "foundation/data/ByteRange.h"

// True for UTF-8 text holding one root element, with an optional declaration, comments and
// processing instructions around it; tags nest and match, attributes are quoted and unique,
// references are well-formed and no character XML forbids appears. A document type
// declaration is not accepted: no message has one, and its grammar is not worth checking here.
[[nodiscard]] bool IsWellFormedXML(ByteRange document);
