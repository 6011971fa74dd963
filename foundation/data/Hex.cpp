#include "foundation/data/Hex.h"

#include "foundation/data/Digits.h"

#include <cstddef>
#include <cstdint>

AutoUString<UTF8> ToHex(const char* begin, const char* end) {
  const std::size_t count = static_cast<std::size_t>(end - begin);
  AutoUString<UTF8> text;
  text.Resize(count * 2);
  char* out = text.MutableBegin();
  for (const char* p = begin; p != end; ++p) {
    out += 2;
    WriteDigitsBefore(out, static_cast<std::uint8_t>(*p), 16, 2);
  }
  return text;
}
