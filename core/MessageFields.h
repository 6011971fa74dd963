// The field readers that every incoming message reader is made of. A field is a direct child
// element of the message, found by its exact name; the last one of that name wins, only its text
// is used, and its attributes are never looked at. An absent field leaves the record's value as
// it was, so readers fill a record with its defaults first and then read each field into it.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "text/xml/Numerals.h"
#include "text/xml/XMLElement.h"

#include <cstdint>
#include <optional>
#include <type_traits>

// The last direct child of `message` named exactly `name`, or null.
[[nodiscard]] const XMLElement* FindLastField(const XMLElement& message, ByteRange name) noexcept;

// False exactly for "0" and "false"; any other text, the empty one and "FALSE" included, is true.
[[nodiscard]] bool ParseBooleanText(ByteRange text) noexcept;

// The readings of a field's text, one per form. TextField: the text as it is.
[[nodiscard]] UString8 TextField(ByteRange text);
// Unsigned decimal digits only. Throws NotANumeral for an empty text or any other byte and
// NumeralTooLarge beyond the width of Value (std::uint32_t or std::uint64_t).
template <class Value>
[[nodiscard]] Value NumberField(ByteRange text) {
  return ParseUnsigned<Value>(text);
}
// The XML duration form; a malformed one throws ExceptionPL from ParseXMLDuration.
[[nodiscard]] TimeInterval DurationField(ByteRange text);
// The mail-header date-time form, held as the instant it names. Throws what ParseZonedDateTime
// throws, and DateTimeOutOfRange for an instant a DateTime cannot hold.
[[nodiscard]] DateTime TimeField(ByteRange text);

namespace MessageFieldsDetail {

template <class T>
struct Unwrapped {
  using Type = T;
};
template <class T>
struct Unwrapped<std::optional<T>> {
  using Type = T;
};

// The reading a field of type Value gets unless the reader names one. Durations and date-times
// are both counts of microseconds, so a field of theirs must name its reading.
template <class Value>
struct DefaultReading {};
template <>
struct DefaultReading<UString8> {
  static constexpr auto kRead = &TextField;
};
template <>
struct DefaultReading<bool> {
  static constexpr auto kRead = &ParseBooleanText;
};
template <>
struct DefaultReading<std::uint32_t> {
  static constexpr auto kRead = &NumberField<std::uint32_t>;
};
template <>
struct DefaultReading<std::uint64_t> {
  static constexpr auto kRead = &NumberField<std::uint64_t>;
};

}  // namespace MessageFieldsDetail

// Reads the field `name` into `field` with `Read`, by default the reading of the field's type
// (UString8, bool, std::uint32_t or std::uint64_t); DurationField and TimeField are named. An
// optional field that is absent stays none; present, even with an empty text, it gets a value.
// A text that does not read throws and leaves `field` as it was.
template <auto Read = nullptr, class Field>
void ReadChild(const XMLElement& message, ByteRange name, Field& field) {
  using Value = typename MessageFieldsDetail::Unwrapped<Field>::Type;
  constexpr auto read = [] {
    if constexpr (std::is_null_pointer_v<decltype(Read)>) {
      return MessageFieldsDetail::DefaultReading<Value>::kRead;
    } else {
      return Read;
    }
  }();
  static_assert(std::is_same_v<decltype(read(ByteRange())), Value>,
                "the reading must give the field's own type");
  if (const XMLElement* found = FindLastField(message, name)) field = read(ByteRange(found->text));
}
