#include "text/time/MailDateTime.h"

#include "text/time/TimeErrors.h"

#include <cstdio>

namespace {

// The weekday comes from the date itself, so this would be the program's own mistake.
QVX_DECLARE_EXCEPTION(InvalidDay, DebuggableException, "weekday outside 0 to 6");

const char* DayName(std::uint32_t dayOfWeek) {
  static const char* const kNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  if (dayOfWeek > 6) throw InvalidDay();
  return kNames[dayOfWeek];
}

const char* MonthName(std::uint32_t month) {
  static const char* const kNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12) throw InvalidMonth();
  return kNames[month - 1];
}

}  // namespace

UString8 FormatMailDateTime(const ZonedDateTime& time) {
  const char* const month = MonthName(time.date.month);
  const char* const day = DayName(DayOfWeek(time.date));
  const std::int64_t offset = time.offsetSeconds;
  // The magnitude in whole minutes; unsigned so that the most negative offset has one too.
  const unsigned long long minutes = (offset < 0 ? 0 - static_cast<unsigned long long>(offset)
                                                 : static_cast<unsigned long long>(offset)) /
                                     60;
  // The reader takes "hhmm" as hh hours plus mm minutes, mm up to 99: an offset of 100 hours or
  // more keeps two hour digits by writing 99 and the rest as minutes, as "-9986" reads.
  constexpr unsigned long long kLargestTwoDigitHours = 99 * 60;
  const bool pastTwoDigitHours = minutes >= 100 * 60 && minutes <= kLargestTwoDigitHours + 99;
  const unsigned long long hours = pastTwoDigitHours ? 99 : minutes / 60;
  const unsigned long long restMinutes = minutes - hours * 60;
  // Room for the largest value of every field.
  char text[96];
  const int length = std::snprintf(
      text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u %c%02llu%02llu", day,
      static_cast<unsigned>(time.date.day), month, static_cast<unsigned>(time.date.year),
      unsigned{time.time.hour}, unsigned{time.time.minute}, unsigned{time.time.second},
      offset < 0 ? '-' : '+', hours, restMinutes);
  return UString8(text, text + length);
}

UString8 FormatMailDateTime(DateTime time, std::int64_t offsetSeconds) {
  std::int64_t offsetMicroseconds = 0;
  if (__builtin_mul_overflow(offsetSeconds, kMicrosecondsPerSecond, &offsetMicroseconds))
    throw DateTimeOutOfRange();
  return FormatMailDateTime(FromDateTime(time, offsetSeconds, offsetMicroseconds));
}
