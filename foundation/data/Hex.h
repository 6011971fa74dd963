// The hexadecimal form of raw bytes: how file errors show a name that is not text, and how such
// bytes are read back.
#pragma once

#include "foundation/data/BinaryString.h"
#include "foundation/text/AutoUString.h"

// Two lower-case digits per byte, high nibble first, no separators.
[[nodiscard]] AutoUString<UTF8> ToHex(const char* begin, const char* end);
[[nodiscard]] inline AutoUString<UTF8> ToHex(const BinaryString& bytes) {
  return ToHex(bytes.begin(), bytes.end());
}

// The bytes of a text of digit pairs, letters in either case; throws NotValidHEX for an odd
// length or a character that is not a hexadecimal digit.
[[nodiscard]] BinaryString FromHex(const char* begin, const char* end);
[[nodiscard]] inline BinaryString FromHex(const AutoUString<UTF8>& text) {
  return FromHex(text.begin(), text.end());
}
