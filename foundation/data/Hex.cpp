#include "foundation/data/Hex.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/text/UTextReceiver.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr char kDigits[] = "0123456789abcdef";

[[nodiscard]] int DigitValue(char digit) noexcept {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

}  // namespace

AutoUString<UTF8> ToHex(const char* begin, const char* end) {
  const std::size_t count = static_cast<std::size_t>(end - begin);
  AutoUString<UTF8> text;
  text.Resize(count * 2);
  char* out = text.MutableBegin();
  for (const char* p = begin; p != end; ++p) {
    const auto byte = static_cast<std::uint8_t>(*p);
    *out++ = kDigits[byte >> 4];
    *out++ = kDigits[byte & 0x0F];
  }
  return text;
}

BinaryString FromHex(const char* begin, const char* end) {
  const std::size_t length = static_cast<std::size_t>(end - begin);
  if (length % 2 != 0) throw NotValidHEX();
  UStringBuilder<Binary8Bit> bytes;
  bytes.Reserve(length / 2);
  for (const char* p = begin; p != end; p += 2) {
    const int high = DigitValue(p[0]);
    const int low = DigitValue(p[1]);
    if (high < 0 || low < 0) throw NotValidHEX();
    bytes.Append(static_cast<char>(high * 16 + low));
  }
  return bytes.Take();
}
