// The hexadecimal form of raw bytes: how file errors show a name that is not text.
#pragma once

#include "foundation/data/BinaryString.h"
#include "foundation/text/AutoUString.h"

// Two lower-case digits per byte, high nibble first, no separators.
[[nodiscard]] AutoUString<UTF8> ToHex(const char* begin, const char* end);
[[nodiscard]] inline AutoUString<UTF8> ToHex(const BinaryString& bytes) {
  return ToHex(bytes.begin(), bytes.end());
}
