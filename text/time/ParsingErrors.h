// The failures of the lexers and parsers of the text layer. None carries data.
#pragma once

#include "foundation/platform/DebuggableException.h"

// A lexeme that cannot stand where it is, or one that is not a lexeme at all.
QVX_DECLARE_EXCEPTION(ParsingFailure, DebuggableException, "text that cannot be parsed");
// The value stack of a parser would grow past its fixed size.
QVX_DECLARE_EXCEPTION(StackFull, DebuggableException, "parser stack full");
// A position within the text does not fit 32 bits.
QVX_DECLARE_EXCEPTION(RequiredValueWouldOverflow, DebuggableException,
                      "position in the text beyond 32 bits");
