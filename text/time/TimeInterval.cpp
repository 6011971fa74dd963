#include "text/time/TimeInterval.h"

#include <ostream>

std::optional<TimeInterval> CheckedDifference(TimeInterval a, TimeInterval b) noexcept {
  std::int64_t difference = 0;
  if (__builtin_sub_overflow(a.InMicroseconds(), b.InMicroseconds(), &difference))
    return std::nullopt;
  return TimeInterval::Microseconds(difference);
}

std::ostream& operator<<(std::ostream& stream, TimeInterval interval) {
  return stream << interval.InMicroseconds() << "us";
}
