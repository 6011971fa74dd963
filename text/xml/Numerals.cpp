#include "text/xml/Numerals.h"

#include "foundation/data/Digits.h"

namespace NumeralsDetail {

std::uint64_t ParseDecimal(const char* begin, const char* end, std::uint64_t limit) {
  if (begin == end) throw NotANumeral();
  std::uint64_t accumulated = 0;
  bool tooLarge = false;
  // A stray byte after an overlong run of digits still makes the text no numeral at all, so
  // the scan goes on after an overflow.
  for (const char* cursor = begin; cursor != end; ++cursor) {
    if (*cursor < '0' || *cursor > '9') throw NotANumeral();
    const unsigned digit = static_cast<unsigned>(*cursor - '0');
    if (tooLarge) continue;
    if (accumulated > (limit - digit) / 10) {
      tooLarge = true;
    } else {
      accumulated = accumulated * 10 + digit;
    }
  }
  if (tooLarge) throw NumeralTooLarge();
  return accumulated;
}

std::size_t FormatInto(char* bytes, std::size_t capacity, std::uint64_t value,
                       std::size_t minimumDigits) {
  char digits[20];
  const char* const digitsEnd = digits + sizeof digits;
  const char* digit = WriteDigitsBefore(digits + sizeof digits, value, 10);
  const std::size_t digitCount = static_cast<std::size_t>(digitsEnd - digit);
  const std::size_t padding = minimumDigits > digitCount ? minimumDigits - digitCount : 0;
  // Compared piecewise so that a huge minimumDigits cannot wrap the sum.
  if (padding > capacity || digitCount + padding > capacity) throw ConstDataCapacityExceeded();
  char* out = bytes;
  for (std::size_t i = 0; i < padding; ++i) *out++ = '0';
  while (digit != digitsEnd) *out++ = *digit++;
  *out = '\0';
  return static_cast<std::size_t>(out - bytes);
}

}  // namespace NumeralsDetail
