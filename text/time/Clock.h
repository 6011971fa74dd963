// The clock, with whole-second resolution, and the local UTC offset. The offset is always the
// one in effect now, also when converting dates far from now: the program shows deadlines that
// are hours or days away, where the difference does not matter to the user.
#pragma once

#include "text/time/DateTime.h"

#include <cstdint>

struct UTCOffset {
  std::int64_t seconds;
  std::int64_t microseconds;
};

// The local wall clock minus the UTC wall clock of the current second, east of UTC positive.
[[nodiscard]] UTCOffset LocalUTCOffset();
// The current second.
[[nodiscard]] DateTime Now();
[[nodiscard]] ZonedDateTime NowUTC();
[[nodiscard]] ZonedDateTime NowLocal();
