// Parsing and formatting of the numerals in element texts: unsigned decimal at 32 and 64 bits.
// The parser takes a byte range and throws; the formatter returns a fixed-capacity text.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/platform/DebuggableException.h"
#include "foundation/platform/StandardExceptions.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

// The text is empty or holds a byte that is not a digit.
QVX_DECLARE_EXCEPTION(NotANumeral, DebuggableException, "not a numeral");

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

// Reads decimal digits whose value must not exceed `limit`. Throws NotANumeral or
// NumeralTooLarge.
[[nodiscard]] std::uint64_t ParseDecimal(const char* begin, const char* end, std::uint64_t limit);

// Writes the decimal digits of `value`, padded with zeros to `minimumDigits`, into
// bytes[0, capacity]; returns the length. Throws ConstDataCapacityExceeded.
std::size_t FormatInto(char* bytes, std::size_t capacity, std::uint64_t value,
                       std::size_t minimumDigits);

template <class Value>
constexpr bool kIsUnsignedWidth =
    std::is_integral_v<Value>&& std::is_unsigned_v<Value> && !std::is_same_v<Value, bool> &&
    (sizeof(Value) == 4 || sizeof(Value) == 8);

struct NumeralTextAccess {
  template <std::size_t Capacity>
  static NumeralText<Capacity> Format(std::uint64_t value, std::size_t minimumDigits) {
    NumeralText<Capacity> text;
    text.size_ = NumeralsDetail::FormatInto(text.bytes_, Capacity, value, minimumDigits);
    return text;
  }
};

}  // namespace NumeralsDetail

// Decimal digits only: no sign, space or prefix. Throws NotANumeral or NumeralTooLarge.
// Value is std::uint32_t or std::uint64_t.
template <class Value>
[[nodiscard]] Value ParseUnsigned(ByteRange text) {
  static_assert(NumeralsDetail::kIsUnsignedWidth<Value>,
                "numerals are parsed as 32-bit or 64-bit unsigned values");
  return static_cast<Value>(
      NumeralsDetail::ParseDecimal(text.begin, text.end, std::numeric_limits<Value>::max()));
}

// Decimal digits padded with zeros to minimumDigits; capacity 10 for 32-bit and 20 for 64-bit
// values. A longer result throws ConstDataCapacityExceeded.
template <class Value, class = std::enable_if_t<NumeralsDetail::kIsUnsignedWidth<Value>>>
[[nodiscard]] NumeralText<sizeof(Value) == 4 ? 10 : 20> FormatUnsigned(Value value,
                                                                       std::size_t minimumDigits) {
  constexpr std::size_t kCapacity = sizeof(Value) == 4 ? 10 : 20;
  return NumeralsDetail::NumeralTextAccess::Format<kCapacity>(value, minimumDigits);
}
