// The pieces a format text is made of: literal text, and variables written "{" name "}". The
// binder and the formatter both walk a text piece by piece with NextPiece.
#pragma once

#include "foundation/data/ByteRange.h"

struct FormatPiece {
  enum class Kind { Literal, Variable };
  Kind kind = Kind::Literal;
  // The literal text, or the variable name without its braces (possibly empty).
  ByteRange text;
  // Where the piece after this one begins.
  const char* next = nullptr;
};

// Reads the piece that begins at position in a text ending at end; false when position == end.
// A "{" without a later "}" throws BadFormatStringError. A lone "}" is literal text.
[[nodiscard]] bool NextPiece(const char* position, const char* end, FormatPiece& piece);
