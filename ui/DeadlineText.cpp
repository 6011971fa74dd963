#include "ui/DeadlineText.h"

#include "core/ActionRequest.h"
#include "foundation/data/Digits.h"
#include "foundation/platform/DebuggableException.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr TimeInterval kSecond = TimeInterval::Seconds(1);
constexpr TimeInterval kMinute = TimeInterval::Minutes(1);
constexpr TimeInterval kHour = TimeInterval::Hours(1);
constexpr TimeInterval kDay = TimeInterval::Days(1);

// The wordings, each looked up whole for an override.
constexpr char kOneSecond[] = "1 second";
constexpr char kSeconds[] = "{seconds} seconds";
constexpr char kOneMinuteOneSecond[] = "1 minute, 1 second";
constexpr char kOneMinuteSeconds[] = "1 minute, {seconds} seconds";
constexpr char kMinutesOneSecond[] = "{minutes} minutes, 1 second";
constexpr char kMinutesSeconds[] = "{minutes} minutes, {seconds} seconds";
constexpr char kOverdue[] = "Overdue";
constexpr char kNow[] = "Now";
constexpr char kMinutes[] = "{minutes} minutes";
constexpr char kOneHour[] = "1 hour";
constexpr char kHours[] = "{hours} hours";
constexpr char kOneDay[] = "1 day";
constexpr char kDays[] = "{days} days";
constexpr char kDateAndTime[] = "{date} {time}";

// What is left under five minutes of a request that runs by itself.
UString8 CountDownText(TimeInterval timeLeft) {
  const std::int64_t minutes = timeLeft / kMinute;
  const std::int64_t seconds = (timeLeft % kMinute) / kSecond;
  const std::string minuteText = std::to_string(minutes);
  const std::string secondText = std::to_string(seconds);
  if (minutes == 0) {
    return seconds == 1 ? FormatBuiltInOrMarker(kOneSecond)
                        : FormatBuiltInOrMarker(kSeconds, {secondText});
  }
  if (minutes == 1) {
    return seconds == 1 ? FormatBuiltInOrMarker(kOneMinuteOneSecond)
                        : FormatBuiltInOrMarker(kOneMinuteSeconds, {secondText});
  }
  return seconds == 1 ? FormatBuiltInOrMarker(kMinutesOneSecond, {minuteText})
                      : FormatBuiltInOrMarker(kMinutesSeconds, {minuteText, secondText});
}

// Whole units of unit, one more when the remainder is over half a unit.
std::int64_t RoundedUnits(TimeInterval timeLeft, TimeInterval unit) {
  return timeLeft / unit + (timeLeft % unit > unit / 2 ? 1 : 0);
}

const char* const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The numbers are written by hand rather than by snprintf: a list shows one date per item.
char* AppendNumber(char* out, std::uint64_t value, std::size_t minimumDigits) {
  char digits[20];
  char* const end = digits + sizeof digits;
  return std::copy(WriteDigitsBefore(end, value, 10, minimumDigits), end, out);
}

char* AppendName(char* out, const char* name) {
  const std::size_t length = std::strlen(name);
  return std::copy(name, name + length, out);
}

// "Tue, 05 Mar 2024".
char* AppendDate(char* out, const Date& date) {
  out = AppendName(out, kDayNames[DayOfWeek(date)]);
  out = AppendName(out, ", ");
  out = AppendNumber(out, date.day, 2);
  *out++ = ' ';
  out = AppendName(out, kMonthNames[date.month - 1]);
  *out++ = ' ';
  return AppendNumber(out, date.year, 4);
}

// "07:08:09".
char* AppendTimeOfDay(char* out, const TimeOfDay& time) {
  out = AppendNumber(out, time.hour, 2);
  *out++ = ':';
  out = AppendNumber(out, time.minute, 2);
  *out++ = ':';
  return AppendNumber(out, time.second, 2);
}

// Room for every field at its widest.
constexpr std::size_t kDateRoom = 48;
constexpr std::size_t kTimeOfDayRoom = 16;

}  // namespace

UString8 FormatDeadlineText(TimeInterval timeLeft, DeadlineKind kind) {
  const bool automatic = kind == DeadlineKind::kAutomatic;
  if (timeLeft < TimeInterval()) {
    return automatic ? FormatBuiltInOrMarker(kSeconds, {"0"}) : FormatBuiltInOrMarker(kOverdue);
  }
  // Inside the warning period a request the user must take is due "Now", and one that runs by
  // itself counts down in minutes and seconds.
  if (timeLeft <= kDeadlineWarningPeriod)
    return automatic ? CountDownText(timeLeft) : FormatBuiltInOrMarker(kNow);
  if (timeLeft <= kHour) {
    return FormatBuiltInOrMarker(kMinutes, {std::to_string(timeLeft / kMinute)});
  }
  if (timeLeft <= kDay) {
    const std::int64_t hours = RoundedUnits(timeLeft, kHour);
    return hours == 1 ? FormatBuiltInOrMarker(kOneHour)
                      : FormatBuiltInOrMarker(kHours, {std::to_string(hours)});
  }
  const std::int64_t days = RoundedUnits(timeLeft, kDay);
  return days == 1 ? FormatBuiltInOrMarker(kOneDay)
                   : FormatBuiltInOrMarker(kDays, {std::to_string(days)});
}

UString8 FormatListDeadline(DateTime deadline) { return ListDeadlineFormat().Format(deadline); }

ListDeadlineFormat::ListDeadlineFormat() : offset_(LocalUTCOffset()), dateAndTime_(kDateAndTime) {}

UString8 ListDeadlineFormat::Format(DateTime deadline) const {
  ZonedDateTime local{};
  try {
    local = FromDateTime(deadline, offset_.seconds, offset_.microseconds);
  } catch (const DebuggableException&) {
    // A local date before the year 0: one item shows the marker, the list stays whole.
    return UString8(kInvalidString);
  }
  // Day and month names stay English: the list shows the same form as the client's messages.
  char date[kDateRoom];
  char timeOfDay[kTimeOfDayRoom];
  return dateAndTime_.FillOrMarker({ByteRange(date, AppendDate(date, local.date)),
                                    ByteRange(timeOfDay, AppendTimeOfDay(timeOfDay, local.time))});
}

bool ListDeadlineFormat::SameAs(const ListDeadlineFormat& other) const noexcept {
  return offset_.seconds == other.offset_.seconds &&
         offset_.microseconds == other.offset_.microseconds &&
         dateAndTime_.Text() == other.dateAndTime_.Text();
}

UString8 FormatLocalTimeOfDay(DateTime time) {
  char text[kTimeOfDayRoom];
  const char* end = AppendTimeOfDay(text, TimeOfDayAt(time, LocalUTCOffset().seconds));
  return UString8(text, end);
}

std::vector<const char*> DeadlineWordings() {
  return {kOneSecond,
          kSeconds,
          kOneMinuteOneSecond,
          kOneMinuteSeconds,
          kMinutesOneSecond,
          kMinutesSeconds,
          kOverdue,
          kNow,
          kMinutes,
          kOneHour,
          kHours,
          kOneDay,
          kDays,
          kDateAndTime};
}
