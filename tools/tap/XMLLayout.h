// Lays a well-formed XML document out for people: the client sends its documents on one line,
// which the transcript would show as one line of any length. Only for reading; the exact bytes
// are kept elsewhere.
#pragma once

#include "foundation/data/ByteRange.h"

#include <string>

// A document that already breaks lines between its tags comes back as it is. Otherwise every
// tag, comment and processing instruction goes on a line of its own, indented two spaces a
// level, except that an element holding only text stays on one line with it; text between
// tags that is only blanks is left out. The document must be well-formed (IsWellFormedXML).
[[nodiscard]] std::string LaidOutXML(ByteRange document);
