// Parsing and formatting of the numerals in element texts: unsigned decimal, hexadecimal and
// signed decimal, at 32 and 64 bits. Parsers take a byte range and come in a throwing form and
// a form that returns a given default on any failure; formatters return a fixed-capacity text.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/platform/DebuggableException.h"
#include "foundation/platform/StandardExceptions.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

// The text is empty or holds a byte that is not a digit (or a sign where none is allowed).
QVX_DECLARE_EXCEPTION(NotANumeral, DebuggableException);

namespace NumeralsDetail {
struct NumeralTextAccess;
}

// Up to Capacity bytes of formatted numeral, NUL-terminated.
template <std::size_t Capacity>
class NumeralText {
 public:
  static constexpr std::size_t kCapacity = Capacity;

  [[nodiscard]] const char* begin() const noexcept { return bytes_; }
  [[nodiscard]] const char* end() const noexcept { return bytes_ + size_; }
  [[nodiscard]] const char* data() const noexcept { return bytes_; }
  [[nodiscard]] const char* c_str() const noexcept { return bytes_; }
  [[nodiscard]] std::size_t size() const noexcept { return size_; }

 private:
  friend struct NumeralsDetail::NumeralTextAccess;
  char bytes_[Capacity + 1] = {};
  std::size_t size_ = 0;
};

namespace NumeralsDetail {

enum class ParseResult { kValue, kNotANumeral, kTooLarge };

// Reads unsigned digits of `base` (10 or 16) whose value must not exceed `limit`.
[[nodiscard]] ParseResult ParseMagnitude(const char* begin, const char* end, unsigned base,
                                         std::uint64_t limit, std::uint64_t& value) noexcept;
// As ParseMagnitude after an optional "-" or "+"; the negative limit is one more than `limit`.
[[nodiscard]] ParseResult ParseSignedDecimal(const char* begin, const char* end,
                                             std::uint64_t limit, std::int64_t& value) noexcept;
[[noreturn]] void ThrowFor(ParseResult result);

// Writes the digits of `magnitude` in `base`, padded with zeros to `minimumDigits`, after an
// optional "-", into bytes[0, capacity]; returns the length. Throws ConstDataCapacityExceeded.
std::size_t FormatInto(char* bytes, std::size_t capacity, std::uint64_t magnitude, unsigned base,
                       bool negative, std::size_t minimumDigits);

template <class Value>
constexpr bool kIsUnsignedWidth =
    std::is_integral_v<Value>&& std::is_unsigned_v<Value> && !std::is_same_v<Value, bool> &&
    (sizeof(Value) == 4 || sizeof(Value) == 8);
template <class Value>
constexpr bool kIsSignedWidth = std::is_integral_v<Value>&& std::is_signed_v<Value> &&
                                (sizeof(Value) == 4 || sizeof(Value) == 8);

template <class Value>
Value ParseUnsignedIn(const char* begin, const char* end, unsigned base) {
  static_assert(kIsUnsignedWidth<Value>, "numerals are parsed as 32-bit or 64-bit unsigned values");
  std::uint64_t value = 0;
  const ParseResult result =
      ParseMagnitude(begin, end, base, std::numeric_limits<Value>::max(), value);
  if (result != ParseResult::kValue) ThrowFor(result);
  return static_cast<Value>(value);
}

template <class Value>
Value ParseUnsignedIn(const char* begin, const char* end, unsigned base,
                      Value defaultValue) noexcept {
  static_assert(kIsUnsignedWidth<Value>, "numerals are parsed as 32-bit or 64-bit unsigned values");
  std::uint64_t value = 0;
  const ParseResult result =
      ParseMagnitude(begin, end, base, std::numeric_limits<Value>::max(), value);
  return result == ParseResult::kValue ? static_cast<Value>(value) : defaultValue;
}

struct NumeralTextAccess {
  template <std::size_t Capacity>
  static NumeralText<Capacity> Format(std::uint64_t magnitude, unsigned base, bool negative,
                                      std::size_t minimumDigits) {
    NumeralText<Capacity> text;
    text.size_ =
        NumeralsDetail::FormatInto(text.bytes_, Capacity, magnitude, base, negative, minimumDigits);
    return text;
  }
};

}  // namespace NumeralsDetail

// Decimal digits only: no sign, space or prefix. Throws NotANumeral or NumeralTooLarge.
// Value is std::uint32_t or std::uint64_t.
template <class Value>
[[nodiscard]] Value ParseUnsigned(ByteRange text) {
  return NumeralsDetail::ParseUnsignedIn<Value>(text.begin, text.end, 10);
}
template <class Value>
[[nodiscard]] Value ParseUnsigned(ByteRange text, Value defaultValue) noexcept {
  return NumeralsDetail::ParseUnsignedIn<Value>(text.begin, text.end, 10, defaultValue);
}

// Hexadecimal digits of either case, no "0x" prefix.
template <class Value>
[[nodiscard]] Value ParseHex(ByteRange text) {
  return NumeralsDetail::ParseUnsignedIn<Value>(text.begin, text.end, 16);
}
template <class Value>
[[nodiscard]] Value ParseHex(ByteRange text, Value defaultValue) noexcept {
  return NumeralsDetail::ParseUnsignedIn<Value>(text.begin, text.end, 16, defaultValue);
}

// An optional single "-" or "+", then decimal digits; the most negative value is accepted.
// Value is std::int32_t or std::int64_t.
template <class Value>
[[nodiscard]] Value ParseSigned(ByteRange text) {
  static_assert(NumeralsDetail::kIsSignedWidth<Value>,
                "numerals are parsed as 32-bit or 64-bit signed values");
  std::int64_t value = 0;
  const auto result = NumeralsDetail::ParseSignedDecimal(text.begin, text.end,
                                                         std::numeric_limits<Value>::max(), value);
  if (result != NumeralsDetail::ParseResult::kValue) NumeralsDetail::ThrowFor(result);
  return static_cast<Value>(value);
}
template <class Value>
[[nodiscard]] Value ParseSigned(ByteRange text, Value defaultValue) noexcept {
  static_assert(NumeralsDetail::kIsSignedWidth<Value>,
                "numerals are parsed as 32-bit or 64-bit signed values");
  std::int64_t value = 0;
  const auto result = NumeralsDetail::ParseSignedDecimal(text.begin, text.end,
                                                         std::numeric_limits<Value>::max(), value);
  return result == NumeralsDetail::ParseResult::kValue ? static_cast<Value>(value) : defaultValue;
}

// Decimal digits padded with zeros to minimumDigits; capacity 10 for 32-bit and 20 for 64-bit
// values. A longer result throws ConstDataCapacityExceeded.
template <class Value, class = std::enable_if_t<NumeralsDetail::kIsUnsignedWidth<Value>>>
[[nodiscard]] NumeralText<sizeof(Value) == 4 ? 10 : 20> FormatUnsigned(Value value,
                                                                       std::size_t minimumDigits) {
  return NumeralsDetail::NumeralTextAccess::Format < sizeof(Value) == 4
             ? 10
             : 20 > (value, 10, false, minimumDigits);
}

// Lower-case hexadecimal digits without prefix; capacity 8 for 32-bit and 16 for 64-bit values.
template <class Value, class = std::enable_if_t<NumeralsDetail::kIsUnsignedWidth<Value>>>
[[nodiscard]] NumeralText<sizeof(Value) * 2> FormatHex(Value value, std::size_t minimumDigits) {
  return NumeralsDetail::NumeralTextAccess::Format<sizeof(Value) * 2>(value, 16, false,
                                                                      minimumDigits);
}

// Decimal with a leading "-" for negative values, the zeros of the padding after it; capacity
// 11 for 32-bit and 21 for 64-bit values.
template <class Value, class = std::enable_if_t<NumeralsDetail::kIsSignedWidth<Value>>>
[[nodiscard]] NumeralText<sizeof(Value) == 4 ? 11 : 21> FormatSigned(Value value,
                                                                     std::size_t minimumDigits) {
  const bool negative = value < 0;
  // Negating in unsigned arithmetic keeps the most negative value representable.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(value))
               : static_cast<std::uint64_t>(value);
  return NumeralsDetail::NumeralTextAccess::Format < sizeof(Value) == 4
             ? 11
             : 21 > (magnitude, 10, negative, minimumDigits);
}
