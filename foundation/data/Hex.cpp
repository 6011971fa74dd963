#include "foundation/data/Hex.h"

#include "foundation/data/Digits.h"
#include "foundation/platform/ExceptionPL.h"
#include "foundation/text/UTextReceiver.h"

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

BinaryString FromHex(const char* begin, const char* end) {
  const std::size_t length = static_cast<std::size_t>(end - begin);
  if (length % 2 != 0) throw NotValidHEX();
  UStringBuilder<Binary8Bit> bytes;
  bytes.Reserve(length / 2);
  for (const char* p = begin; p != end; p += 2) {
    const int high = HexDigitValue(p[0]);
    const int low = HexDigitValue(p[1]);
    if (high < 0 || low < 0) throw NotValidHEX();
    bytes.Append(static_cast<char>(high * 16 + low));
  }
  return bytes.Take();
}
