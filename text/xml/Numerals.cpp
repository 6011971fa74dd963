#include "text/xml/Numerals.h"

#include "foundation/data/Digits.h"

namespace NumeralsDetail {
namespace {

// The value of `byte` as a digit of `base` (10 or 16), or `base` when it is none.
unsigned DigitValue(char byte, unsigned base) noexcept {
  const int value = HexDigitValue(byte);
  return value >= 0 && static_cast<unsigned>(value) < base ? static_cast<unsigned>(value) : base;
}

}  // namespace

ParseResult ParseMagnitude(const char* begin, const char* end, unsigned base, std::uint64_t limit,
                           std::uint64_t& value) noexcept {
  if (begin == end) return ParseResult::kNotANumeral;
  std::uint64_t accumulated = 0;
  bool tooLarge = false;
  // A stray byte after an overlong run of digits still makes the text no numeral at all, so
  // the scan goes on after an overflow.
  for (const char* cursor = begin; cursor != end; ++cursor) {
    const unsigned digit = DigitValue(*cursor, base);
    if (digit == base) return ParseResult::kNotANumeral;
    if (tooLarge) continue;
    if (accumulated > (limit - digit) / base) {
      tooLarge = true;
    } else {
      accumulated = accumulated * base + digit;
    }
  }
  if (tooLarge) return ParseResult::kTooLarge;
  value = accumulated;
  return ParseResult::kValue;
}

ParseResult ParseSignedDecimal(const char* begin, const char* end, std::uint64_t limit,
                               std::int64_t& value) noexcept {
  const bool negative = begin != end && *begin == '-';
  if (begin != end && (*begin == '-' || *begin == '+')) ++begin;
  std::uint64_t magnitude = 0;
  const ParseResult result =
      ParseMagnitude(begin, end, 10, negative ? limit + 1 : limit, magnitude);
  if (result != ParseResult::kValue) return result;
  // For the most negative value the magnitude is one beyond the positive range: negate unsigned.
  value =
      negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return ParseResult::kValue;
}

void ThrowFor(ParseResult result) {
  if (result == ParseResult::kTooLarge) throw NumeralTooLarge();
  throw NotANumeral();
}

std::size_t FormatInto(char* bytes, std::size_t capacity, std::uint64_t magnitude, unsigned base,
                       bool negative, std::size_t minimumDigits) {
  char digits[64];
  const char* const digitsEnd = digits + sizeof digits;
  const char* digit = WriteDigitsBefore(digits + sizeof digits, magnitude, base);
  const std::size_t digitCount = static_cast<std::size_t>(digitsEnd - digit);
  const std::size_t padding = minimumDigits > digitCount ? minimumDigits - digitCount : 0;
  const std::size_t sign = negative ? 1 : 0;
  // Compared piecewise so that a huge minimumDigits cannot wrap the sum.
  if (padding > capacity || sign + digitCount + padding > capacity)
    throw ConstDataCapacityExceeded();
  char* out = bytes;
  if (negative) *out++ = '-';
  for (std::size_t i = 0; i < padding; ++i) *out++ = '0';
  while (digit != digitsEnd) *out++ = *digit++;
  *out = '\0';
  return static_cast<std::size_t>(out - bytes);
}

}  // namespace NumeralsDetail
