#include "text/time/DateTime.h"

#include "text/time/TimeErrors.h"

#include <limits>
#include <ostream>

namespace {

// Division and remainder that round toward minus infinity, so that times before a boundary
// borrow whole days or years instead of producing negative remainders.
std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) noexcept {
  const std::int64_t quotient = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}
std::int64_t FloorModulo(std::int64_t value, std::int64_t divisor) noexcept {
  return value - FloorDivide(value, divisor) * divisor;
}

constexpr std::int64_t kDaysPer400Years = 146097;
// Day number of 0000-03-01: counting from March puts the leap day at the end of the year.
constexpr std::int64_t kMarchFirstOfYear0 = 60;

std::int64_t SecondsOfDay(const TimeOfDay& time) noexcept {
  return (std::int64_t{time.hour} * 60 + time.minute) * 60 + time.second;
}

TimeOfDay TimeOfDayFromSeconds(std::int64_t secondsOfDay) noexcept {
  return TimeOfDay{static_cast<std::uint8_t>(secondsOfDay / 3600),
                   static_cast<std::uint8_t>(secondsOfDay / 60 % 60),
                   static_cast<std::uint8_t>(secondsOfDay % 60)};
}

// The wall clock at dayNumber plus seconds, which may lie outside the day.
ZonedDateTime WallClock(std::int64_t dayNumber, std::int64_t seconds, std::int64_t offsetSeconds,
                        std::int64_t offsetMicroseconds) {
  const Date date = DateFromDayNumber(dayNumber + FloorDivide(seconds, kSecondsPerDay));
  return ZonedDateTime{date, TimeOfDayFromSeconds(FloorModulo(seconds, kSecondsPerDay)),
                       offsetSeconds, offsetMicroseconds};
}

}  // namespace

std::int64_t DayNumber(const Date& date) noexcept {
  // Years begin in March, months count from 0 = March.
  const std::int64_t monthIndex = std::int64_t{date.month} - 3;
  const std::int64_t year = std::int64_t{date.year} + FloorDivide(monthIndex, 12);
  const std::int64_t month = FloorModulo(monthIndex, 12);
  const std::int64_t era = FloorDivide(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * month + 2) / 5 + std::int64_t{date.day} - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPer400Years + dayOfEra + kMarchFirstOfYear0;
}

Date DateFromDayNumber(std::int64_t dayNumber) {
  const std::int64_t days = dayNumber - kMarchFirstOfYear0;
  const std::int64_t era = FloorDivide(days, kDaysPer400Years);
  const std::int64_t dayOfEra = days - era * kDaysPer400Years;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t month = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * month + 2) / 5 + 1;
  const std::int64_t year = era * 400 + yearOfEra + (month >= 10 ? 1 : 0);
  if (year < 0) throw InvalidDateTimeNegativeYear();
  if (year > std::numeric_limits<std::uint32_t>::max()) throw DateTimeOutOfRange();
  return Date{static_cast<std::uint32_t>(day),
              static_cast<std::uint32_t>(month < 10 ? month + 3 : month - 9),
              static_cast<std::uint32_t>(year)};
}

std::uint32_t DayOfWeek(const Date& date) noexcept {
  return static_cast<std::uint32_t>(FloorModulo(DayNumber(date) + 6, 7));
}

bool IsLeapYear(std::uint32_t year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::uint32_t DaysInMonth(std::uint32_t month, std::uint32_t year) noexcept {
  static constexpr std::uint32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const Date& date) noexcept {
  return date.day >= 1 && date.day <= DaysInMonth(date.month, date.year);
}

bool IsValidTimeOfDay(const TimeOfDay& time) noexcept {
  return time.hour < 24 && time.minute < 60 && time.second < 60;
}

DateTime ToDateTime(const ZonedDateTime& time) {
  std::int64_t result = 0;
  if (__builtin_mul_overflow(DayNumber(time.date) - kUnixEpochDayNumber, kMicrosecondsPerDay,
                             &result) ||
      __builtin_add_overflow(result, SecondsOfDay(time.time) * kMicrosecondsPerSecond, &result) ||
      __builtin_sub_overflow(result, time.offsetMicroseconds, &result)) {
    throw DateTimeOutOfRange();
  }
  return DateTime::FromUnixMicroseconds(result);
}

ZonedDateTime FromDateTime(DateTime time, std::int64_t offsetSeconds,
                           std::int64_t offsetMicroseconds) {
  // Straight to the wall clock at the offset: going through UTC would fail for instants whose
  // UTC date lies before the year 0 while the date at the offset does not ("1 Jan 0000 +1000").
  std::int64_t seconds = 0;
  if (__builtin_add_overflow(time.UnixSeconds(), offsetSeconds, &seconds))
    throw DateTimeOutOfRange();
  return WallClock(kUnixEpochDayNumber, seconds, offsetSeconds, offsetMicroseconds);
}

TimeOfDay TimeOfDayAt(DateTime time, std::int64_t offsetSeconds) noexcept {
  // Each part reduced to one day first, so that no sum can overflow.
  const std::int64_t seconds =
      FloorModulo(time.UnixSeconds(), kSecondsPerDay) + FloorModulo(offsetSeconds, kSecondsPerDay);
  return TimeOfDayFromSeconds(FloorModulo(seconds, kSecondsPerDay));
}

std::optional<DateTime> CheckedSum(DateTime time, TimeInterval interval) noexcept {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(time.UnixMicroseconds(), interval.InMicroseconds(), &sum))
    return std::nullopt;
  return DateTime::FromUnixMicroseconds(sum);
}

std::ostream& operator<<(std::ostream& stream, DateTime time) {
  return stream << time.UnixMicroseconds() << "us since 1970";
}
