// Reading and writing single digits of numerals in base 10 or 16: what the hexadecimal byte
// texts, the numerals of element texts, character references and error texts share.
#pragma once

#include <cstddef>
#include <cstdint>

// The value of a hexadecimal digit of either case (so also of a decimal one), or -1.
[[nodiscard]] constexpr int HexDigitValue(char byte) noexcept {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return -1;
}

// Writes the digits of `value` in `base` (at most 16, lower-case letters) so that they end just
// before `end`, padded with zeros to `minimumDigits`, and returns where they begin. The caller
// provides room for the longer of the digits and the padding.
constexpr char* WriteDigitsBefore(char* end, std::uint64_t value, unsigned base,
                                  std::size_t minimumDigits = 1) noexcept {
  char* first = end;
  do {
    *--first = "0123456789abcdef"[value % base];
    value /= base;
  } while (value != 0);
  while (static_cast<std::size_t>(end - first) < minimumDigits) *--first = '0';
  return first;
}
