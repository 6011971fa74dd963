// Points in time as messages carry them, the broken-down forms they are read from and written
// as, and the proleptic Gregorian calendar arithmetic between the two. Lengths of time are in
// TimeInterval.h, the clock in Clock.h; the text forms are in XMLDuration.h, MailDateTime.h and
// TimeParser.h.
#pragma once

#include "foundation/platform/TimeUnits.h"
#include "text/time/TimeInterval.h"

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <optional>

// A point in time, counted in microseconds since 1970-01-01T00:00:00 UTC. A point and a length
// make a point, two points are a length apart, and two points do not add.
class DateTime {
 public:
  // 1970-01-01T00:00:00 UTC.
  constexpr DateTime() noexcept = default;

  [[nodiscard]] static constexpr DateTime FromUnixMicroseconds(std::int64_t count) noexcept {
    return DateTime(count);
  }
  [[nodiscard]] static constexpr DateTime FromUnixSeconds(std::int64_t count) noexcept {
    return DateTime(count * kMicrosecondsPerSecond);
  }
  // The bounds; std::numeric_limits knows nothing of this type and would answer zero.
  [[nodiscard]] static constexpr DateTime Max() noexcept {
    return DateTime(std::numeric_limits<std::int64_t>::max());
  }
  [[nodiscard]] static constexpr DateTime Min() noexcept {
    return DateTime(std::numeric_limits<std::int64_t>::min());
  }

  [[nodiscard]] constexpr std::int64_t UnixMicroseconds() const noexcept { return microseconds_; }
  // Whole seconds, toward zero.
  [[nodiscard]] constexpr std::int64_t UnixSeconds() const noexcept {
    return microseconds_ / kMicrosecondsPerSecond;
  }

  constexpr DateTime& operator+=(TimeInterval interval) noexcept {
    microseconds_ += interval.InMicroseconds();
    return *this;
  }
  constexpr DateTime& operator-=(TimeInterval interval) noexcept {
    microseconds_ -= interval.InMicroseconds();
    return *this;
  }

  [[nodiscard]] friend constexpr DateTime operator+(DateTime time, TimeInterval interval) noexcept {
    return time += interval;
  }
  [[nodiscard]] friend constexpr DateTime operator-(DateTime time, TimeInterval interval) noexcept {
    return time -= interval;
  }
  [[nodiscard]] friend constexpr TimeInterval operator-(DateTime a, DateTime b) noexcept {
    return TimeInterval::Microseconds(a.microseconds_ - b.microseconds_);
  }

  [[nodiscard]] friend constexpr bool operator==(DateTime a, DateTime b) noexcept {
    return a.microseconds_ == b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator!=(DateTime a, DateTime b) noexcept {
    return a.microseconds_ != b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator<(DateTime a, DateTime b) noexcept {
    return a.microseconds_ < b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator<=(DateTime a, DateTime b) noexcept {
    return a.microseconds_ <= b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator>(DateTime a, DateTime b) noexcept {
    return a.microseconds_ > b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator>=(DateTime a, DateTime b) noexcept {
    return a.microseconds_ >= b.microseconds_;
  }

 private:
  constexpr explicit DateTime(std::int64_t microseconds) noexcept : microseconds_(microseconds) {}

  std::int64_t microseconds_ = 0;
};

// time + interval, or nothing when the sum lies beyond what a DateTime holds.
[[nodiscard]] std::optional<DateTime> CheckedSum(DateTime time, TimeInterval interval) noexcept;

// "1709618889000000us since 1970": the raw count, for test failures and traces.
std::ostream& operator<<(std::ostream& stream, DateTime time);

// The day number of 1970-01-01, the day DateTime counts from.
constexpr std::int64_t kUnixEpochDayNumber = 719528;

// A calendar date with the full year (2024, not 24).
struct Date {
  std::uint32_t day;
  std::uint32_t month;
  std::uint32_t year;

  friend bool operator==(const Date& a, const Date& b) noexcept {
    return a.day == b.day && a.month == b.month && a.year == b.year;
  }
  friend bool operator!=(const Date& a, const Date& b) noexcept { return !(a == b); }
};

struct TimeOfDay {
  std::uint8_t hour;
  std::uint8_t minute;
  std::uint8_t second;

  friend bool operator==(const TimeOfDay& a, const TimeOfDay& b) noexcept {
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
  }
  friend bool operator!=(const TimeOfDay& a, const TimeOfDay& b) noexcept { return !(a == b); }
};

// A wall-clock date and time at a UTC offset (east of UTC positive), the offset held both in
// seconds and in microseconds.
struct ZonedDateTime {
  Date date;
  TimeOfDay time;
  std::int64_t offsetSeconds;
  std::int64_t offsetMicroseconds;

  friend bool operator==(const ZonedDateTime& a, const ZonedDateTime& b) noexcept {
    return a.date == b.date && a.time == b.time && a.offsetSeconds == b.offsetSeconds &&
           a.offsetMicroseconds == b.offsetMicroseconds;
  }
  friend bool operator!=(const ZonedDateTime& a, const ZonedDateTime& b) noexcept {
    return !(a == b);
  }
};

// Days since 0000-01-01 (1970-01-01 is day 719528). Any field values are accepted: a month
// past 12 runs into the following years and day 0 is the last day of the month before.
[[nodiscard]] std::int64_t DayNumber(const Date& date) noexcept;
// The inverse of DayNumber. Throws InvalidDateTimeNegativeYear for a day before the year 0 and
// DateTimeOutOfRange for a year beyond 32 bits.
[[nodiscard]] Date DateFromDayNumber(std::int64_t dayNumber);
// 0 = Sunday ... 6 = Saturday.
[[nodiscard]] std::uint32_t DayOfWeek(const Date& date) noexcept;

[[nodiscard]] bool IsLeapYear(std::uint32_t year) noexcept;
// 0 for a month outside 1 to 12.
[[nodiscard]] std::uint32_t DaysInMonth(std::uint32_t month, std::uint32_t year) noexcept;
[[nodiscard]] bool IsValidDate(const Date& date) noexcept;
[[nodiscard]] bool IsValidTimeOfDay(const TimeOfDay& time) noexcept;

// The instant a wall-clock time at its offset names. Throws DateTimeOutOfRange when it does not
// fit a DateTime.
[[nodiscard]] DateTime ToDateTime(const ZonedDateTime& time);
// The wall-clock form of an instant at the given offset. Sub-second parts are dropped (toward
// zero). Throws as DateFromDayNumber does.
[[nodiscard]] ZonedDateTime FromDateTime(DateTime time, std::int64_t offsetSeconds,
                                         std::int64_t offsetMicroseconds);
// The wall-clock time of day of an instant at the given offset, for any instant: it needs no
// calendar, so it holds where the date does not (a local date before the year 0).
[[nodiscard]] TimeOfDay TimeOfDayAt(DateTime time, std::int64_t offsetSeconds) noexcept;
