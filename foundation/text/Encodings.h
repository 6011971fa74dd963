// Encoding tags that parameterise the string family and the transcoders. Each tag names the
// code-unit type of its encoding; the tags carry no data.
#pragma once

#include <cstdint>

struct UTF8 {
  using Unit = char;
};
struct UTF16 {
  using Unit = char16_t;
};
struct UTF32 {
  using Unit = char32_t;
};
// 8-bit units holding arbitrary bytes.
struct Binary8Bit {
  using Unit = char;
};
