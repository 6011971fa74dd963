// Binary strings: bytes that cannot be trusted to be text (file names from the system, data from
// the client). They become UTF-8 text only through the checks here.
#pragma once

#include "foundation/text/AutoUString.h"

using BinaryString = AutoUString<Binary8Bit>;

// True when the bytes are well-formed UTF-8; an empty range is.
[[nodiscard]] bool IsValidUTF8(const char* begin, const char* end) noexcept;
[[nodiscard]] inline bool IsValidUTF8(const BinaryString& bytes) noexcept {
  return IsValidUTF8(bytes.begin(), bytes.end());
}

// A UTF-8 copy of the bytes; throws UnrepresentableBinaryStringU8 when they are not UTF-8.
[[nodiscard]] AutoUString<UTF8> ToUTF8String(const BinaryString& bytes);
