// The field readers that every incoming message reader is made of. A field is a direct child
// element of the message, found by its exact name; the last one of that name wins, only its text
// is used, and its attributes are never looked at. An absent field leaves the record's value as
// it was, so readers fill a record with its defaults first and then read each field into it.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "text/xml/XMLElement.h"

#include <cstdint>
#include <optional>

// The last direct child of `message` named exactly `name`, or null.
[[nodiscard]] const XMLElement* FindLastField(const XMLElement& message, ByteRange name) noexcept;

// False exactly for "0" and "false"; any other text, the empty one and "FALSE" included, is true.
[[nodiscard]] bool ParseBooleanText(ByteRange text) noexcept;

void ReadTextChild(const XMLElement& message, ByteRange name, UString8& field);
// Absent stays none; present, even empty, is a text.
void ReadFragmentChild(const XMLElement& message, ByteRange name, std::optional<UString8>& field);

void ReadBoolChild(const XMLElement& message, ByteRange name, bool& field);
void ReadBoolChild(const XMLElement& message, ByteRange name, std::optional<bool>& field);

// Unsigned decimal digits only. Throws NotANumeral for an empty text or any other byte and
// NumeralTooLarge beyond the field's width.
void ReadNumberChild(const XMLElement& message, ByteRange name, std::uint64_t& field);
void ReadNumberChild(const XMLElement& message, ByteRange name, std::uint32_t& field);
void ReadNumberChild(const XMLElement& message, ByteRange name,
                     std::optional<std::uint32_t>& field);

// The XML duration form; a malformed one throws ExceptionPL from ParseXMLDuration.
void ReadIntervalChild(const XMLElement& message, ByteRange name, TimeInterval& field);
void ReadIntervalChild(const XMLElement& message, ByteRange name,
                       std::optional<TimeInterval>& field);

// The mail-header date-time form, held as the instant it names. Throws what ParseZonedDateTime
// throws, and DateTimeOutOfRange for an instant a DateTime cannot hold.
void ReadTimeChild(const XMLElement& message, ByteRange name, DateTime& field);
void ReadTimeChild(const XMLElement& message, ByteRange name, std::optional<DateTime>& field);
