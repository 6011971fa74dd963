#include "text/time/Clock.h"

#include <ctime>

namespace {

ZonedDateTime FromBrokenDown(const std::tm& time, UTCOffset offset) noexcept {
  const Date date{static_cast<std::uint32_t>(time.tm_mday),
                  static_cast<std::uint32_t>(time.tm_mon + 1),
                  static_cast<std::uint32_t>(time.tm_year + 1900)};
  // A leap second (tm_sec 60) counts as the last second of its minute.
  const int second = time.tm_sec > 59 ? 59 : time.tm_sec;
  return ZonedDateTime{
      date,
      TimeOfDay{static_cast<std::uint8_t>(time.tm_hour), static_cast<std::uint8_t>(time.tm_min),
                static_cast<std::uint8_t>(second)},
      offset.seconds, offset.microseconds};
}

// Worked out from the two broken-down times by calendar arithmetic rather than from the zone
// variables, which do not say whether summer time is in effect.
UTCOffset LocalUTCOffsetAt(std::time_t now, std::tm& local) {
  std::tm utc{};
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
  const UTCOffset zero{0, 0};
  const std::int64_t seconds =
      (ToDateTime(FromBrokenDown(local, zero)) - ToDateTime(FromBrokenDown(utc, zero))) /
      TimeInterval::Seconds(1);
  return UTCOffset{seconds, seconds * kMicrosecondsPerSecond};
}

// The clock a test has fixed, if any: Now() is asked from every layer, and a test must be able to
// hold all of them at one time without handing a clock through every call.
FixedClock* fixedClock = nullptr;

}  // namespace

FixedClock::FixedClock(DateTime now) noexcept : now_(now), outer_(fixedClock) { fixedClock = this; }

FixedClock::~FixedClock() { fixedClock = outer_; }

UTCOffset LocalUTCOffset() {
  std::tm local{};
  return LocalUTCOffsetAt(std::time(nullptr), local);
}

DateTime Now() {
  if (fixedClock != nullptr) return fixedClock->Get();
  std::tm local{};
  const UTCOffset offset = LocalUTCOffsetAt(std::time(nullptr), local);
  return ToDateTime(FromBrokenDown(local, offset));
}
