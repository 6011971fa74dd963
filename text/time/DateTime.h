// Points in time and lengths of time as messages carry them, the broken-down forms they are
// read from and written as, and the proleptic Gregorian calendar arithmetic between the two.
// The clock is in Clock.h; the text forms are in XMLDuration.h, MailDateTime.h and TimeParser.h.
#pragma once

#include "foundation/platform/TimeUnits.h"

#include <cstdint>

// Microseconds since 1970-01-01T00:00:00 UTC.
using DateTime = std::int64_t;
// A signed length of time in microseconds.
using TimeInterval = std::int64_t;

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
