// Writes points in time in the mail-header form in which messages carry them:
// "Tue, 05 Mar 2024 07:08:09 +0100". TimeParser.h reads the same form.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"

#include <cstdint>

// At most 31 bytes for a year of up to four digits, a valid time of day and an offset of at
// most 99 hours and 99 minutes (100 hours and more are written as 99 hours and over 59 minutes,
// the way the reader takes them); larger fields are written in full rather than cut. Throws
// InvalidMonth for a month outside 1 to 12.
[[nodiscard]] UString8 FormatMailDateTime(const ZonedDateTime& time);
// The instant written at the given offset in seconds.
[[nodiscard]] UString8 FormatMailDateTime(DateTime time, std::int64_t offsetSeconds);
