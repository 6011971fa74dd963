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
// The current second: the system clock's, or the fixed time of the innermost FixedClock.
[[nodiscard]] DateTime Now();

// Stands in for the system clock while it lives, so that code which reads Now() (the timer, the
// request store, the deadline texts) can be tested at a chosen time without sleeping. Scopes
// nest; main-thread code only, like everything that reads the time for the dialogs.
class FixedClock {
 public:
  explicit FixedClock(DateTime now) noexcept;
  ~FixedClock();
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;

  void Set(DateTime now) noexcept { now_ = now; }
  void Advance(TimeInterval by) noexcept { now_ += by; }
  [[nodiscard]] DateTime Get() const noexcept { return now_; }

 private:
  DateTime now_;
  FixedClock* outer_;
};
