#include "text/xml/Numerals.h"

namespace NumeralsDetail {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

// The value of `byte` as a digit of `base`, or `base` when it is none.
unsigned DigitValue(char byte, unsigned base) noexcept {
  if (byte >= '0' && byte <= '9') return static_cast<unsigned>(byte - '0');
  if (base == 16) {
    if (byte >= 'a' && byte <= 'f') return static_cast<unsigned>(byte - 'a' + 10);
    if (byte >= 'A' && byte <= 'F') return static_cast<unsigned>(byte - 'A' + 10);
  }
  return base;
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
  std::size_t digitCount = 0;
  do {
    digits[digitCount++] = kDigits[magnitude % base];
    magnitude /= base;
  } while (magnitude != 0);
  const std::size_t padding = minimumDigits > digitCount ? minimumDigits - digitCount : 0;
  const std::size_t sign = negative ? 1 : 0;
  // Compared piecewise so that a huge minimumDigits cannot wrap the sum.
  if (padding > capacity || sign + digitCount + padding > capacity)
    throw ConstDataCapacityExceeded();
  char* out = bytes;
  if (negative) *out++ = '-';
  for (std::size_t i = 0; i < padding; ++i) *out++ = '0';
  while (digitCount != 0) *out++ = digits[--digitCount];
  *out = '\0';
  return static_cast<std::size_t>(out - bytes);
}

}  // namespace NumeralsDetail
