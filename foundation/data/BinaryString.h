// Binary strings: bytes that cannot be trusted to be text (file names from the system, data from
// the client). They become UTF-8 text only through the checks here, and can be cut into pieces at
// a separator byte without being read as text.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

#include <vector>

using BinaryString = AutoUString<Binary8Bit>;

// True when the bytes are well-formed UTF-8; an empty range is.
[[nodiscard]] bool IsValidUTF8(const char* begin, const char* end) noexcept;
[[nodiscard]] inline bool IsValidUTF8(const BinaryString& bytes) noexcept {
  return IsValidUTF8(bytes.begin(), bytes.end());
}

// The same bytes, now known to be UTF-8 text; throws UnrepresentableBinaryStringU8 when they are
// not. The range borrows the bytes.
[[nodiscard]] ByteRange AsUTF8(const BinaryString& bytes);

// A UTF-8 copy of the bytes, with the same check as AsUTF8.
[[nodiscard]] AutoUString<UTF8> ToUTF8String(const BinaryString& bytes);

enum class SplitFlags {
  // Every separator ends a piece, so n separators give n + 1 pieces; an empty input is one empty
  // piece.
  kKeepEmpty,
  // Pieces of no bytes (before the first separator, after the last, between two adjacent ones,
  // or an empty input) are left out.
  kSkipEmpty,
};

// The pieces of the bytes between separator bytes, in order, as ranges into the bytes; the
// separators belong to no piece.
[[nodiscard]] std::vector<ByteRange> SplitBinary(const char* begin, const char* end, char separator,
                                                 SplitFlags flags = SplitFlags::kKeepEmpty);
[[nodiscard]] inline std::vector<ByteRange> SplitBinary(const BinaryString& bytes, char separator,
                                                        SplitFlags flags = SplitFlags::kKeepEmpty) {
  return SplitBinary(bytes.begin(), bytes.end(), separator, flags);
}
