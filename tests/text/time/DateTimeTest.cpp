// Points and lengths of time as types, the calendar arithmetic: day numbers and their inverse
// across centuries and leap years, instants and wall clocks at offsets, including times before
// 1970, and the clock.
#include "text/time/DateTime.h"

#include "text/time/Clock.h"
#include "text/time/TimeErrors.h"

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

namespace {

template <class A, class B, class = void>
struct Adds : std::false_type {};
template <class A, class B>
struct Adds<A, B, std::void_t<decltype(std::declval<A>() + std::declval<B>())>> : std::true_type {};
template <class A, class B, class = void>
struct Subtracts : std::false_type {};
template <class A, class B>
struct Subtracts<A, B, std::void_t<decltype(std::declval<A>() - std::declval<B>())>>
    : std::true_type {};

// A point moves by a length, two points are a length apart; nothing else mixes, and no bare
// count becomes either.
static_assert(std::is_same_v<decltype(DateTime() + TimeInterval()), DateTime>);
static_assert(std::is_same_v<decltype(DateTime() - TimeInterval()), DateTime>);
static_assert(std::is_same_v<decltype(DateTime() - DateTime()), TimeInterval>);
static_assert(!Adds<DateTime, DateTime>::value && !Subtracts<TimeInterval, DateTime>::value);
static_assert(!Adds<DateTime, std::int64_t>::value && !Adds<TimeInterval, std::int64_t>::value);
static_assert(!std::is_constructible_v<TimeInterval, DateTime> &&
              !std::is_constructible_v<DateTime, TimeInterval>);
static_assert(!std::is_constructible_v<TimeInterval, std::int64_t> &&
              !std::is_constructible_v<DateTime, std::int64_t>);
static_assert(!std::is_convertible_v<TimeInterval, std::int64_t> &&
              !std::is_convertible_v<DateTime, std::int64_t>);

TEST(TimeTypes, CheckedArithmeticStopsAtTheEdges) {
  constexpr TimeInterval kOne = TimeInterval::Microseconds(1);
  const struct {
    const char* what;
    DateTime time;
    TimeInterval interval;
    std::optional<DateTime> sum;
  } sums[] = {
      {"to the last instant", DateTime::Max() - kOne, kOne, DateTime::Max()},
      {"past the last instant", DateTime::Max(), kOne, std::nullopt},
      {"before the first instant", DateTime::Min(), -kOne, std::nullopt},
      {"the longest length before 1970", DateTime::FromUnixSeconds(-1), TimeInterval::Max(),
       DateTime::Max() - TimeInterval::Seconds(1)},
  };
  for (const auto& row : sums) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(CheckedSum(row.time, row.interval), row.sum);
  }
}

ZonedDateTime Zoned(Date date, TimeOfDay time, std::int64_t offsetSeconds) {
  return ZonedDateTime{date, time, offsetSeconds, offsetSeconds * kMicrosecondsPerSecond};
}

TEST(Calendar, KnownDayNumbersAndWeekdays) {
  struct Row {
    Date date;
    std::int64_t dayNumber;
    std::uint32_t dayOfWeek;
  } const rows[] = {
      {{1, 1, 0}, 0, 6},          // the year 0 began on a Saturday
      {{1, 3, 0}, 60, 3},         // after a leap day: 0 is divisible by 400
      {{1, 1, 1970}, 719528, 4},  // anchors the day-by-day test below
      {{31, 12, 9999}, 3652424, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dayNumber);
    EXPECT_EQ(DayNumber(row.date), row.dayNumber);
    EXPECT_EQ(DayOfWeek(row.date), row.dayOfWeek);
    EXPECT_EQ(DateFromDayNumber(row.dayNumber), row.date);
  }
}

TEST(Calendar, EveryDayFromYear1500To2500RoundTripsAndIsValid) {
  std::int64_t expected = DayNumber(Date{1, 1, 1500});
  for (std::uint32_t year = 1500; year <= 2500; ++year) {
    for (std::uint32_t month = 1; month <= 12; ++month) {
      for (std::uint32_t day = 1; day <= DaysInMonth(month, year); ++day) {
        const Date date{day, month, year};
        ASSERT_TRUE(IsValidDate(date));
        ASSERT_EQ(DayNumber(date), expected) << year << "-" << month << "-" << day;
        ASSERT_EQ(DateFromDayNumber(expected), date);
        ++expected;
      }
      EXPECT_FALSE(IsValidDate(Date{DaysInMonth(month, year) + 1, month, year}));
    }
  }
}

TEST(Calendar, FieldsOutOfRange) {
  for (const Date date : {Date{0, 1, 2024}, Date{1, 0, 2024}, Date{1, 13, 2024}})
    EXPECT_FALSE(IsValidDate(date));
  EXPECT_TRUE(IsValidTimeOfDay(TimeOfDay{23, 59, 59}));
  for (const TimeOfDay time : {TimeOfDay{24, 0, 0}, TimeOfDay{0, 60, 0}, TimeOfDay{0, 0, 60}})
    EXPECT_FALSE(IsValidTimeOfDay(time));
  // Such fields roll over in day numbers rather than reading past the month tables.
  EXPECT_EQ(DayNumber(Date{1, 13, 2023}), DayNumber(Date{1, 1, 2024}));
  EXPECT_EQ(DayNumber(Date{1, 0, 2024}), DayNumber(Date{1, 12, 2023}));
  EXPECT_EQ(DayNumber(Date{0, 3, 2024}), DayNumber(Date{29, 2, 2024}));
  // Day numbers outside the date range throw.
  EXPECT_THROW(static_cast<void>(DateFromDayNumber(-1)), InvalidDateTimeNegativeYear);
  const Date last{31, 12, std::numeric_limits<std::uint32_t>::max()};
  EXPECT_EQ(DateFromDayNumber(DayNumber(last)), last);
  EXPECT_THROW(static_cast<void>(DateFromDayNumber(DayNumber(last) + 1)), DateTimeOutOfRange);
}

TEST(Instants, WallClockAtOffsetAndBack) {
  struct Row {
    std::int64_t unixSeconds;
    std::int64_t offset;
    ZonedDateTime wallClock;
  } const rows[] = {
      {0, 0, Zoned({1, 1, 1970}, {0, 0, 0}, 0)},
      {0, 3600, Zoned({1, 1, 1970}, {1, 0, 0}, 3600)},
      {0, -19800, Zoned({31, 12, 1969}, {18, 30, 0}, -19800)},
      {-1, 0, Zoned({31, 12, 1969}, {23, 59, 59}, 0)},
      {-86401, 0, Zoned({30, 12, 1969}, {23, 59, 59}, 0)},
      {1709618889, 3600, Zoned({5, 3, 2024}, {7, 8, 9}, 3600)},
      {-62167219200, 0, Zoned({1, 1, 0}, {0, 0, 0}, 0)},
      {253402300799, 0, Zoned({31, 12, 9999}, {23, 59, 59}, 0)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.unixSeconds);
    const DateTime instant = DateTime::FromUnixSeconds(row.unixSeconds);
    EXPECT_EQ(FromDateTime(instant, row.offset, row.offset * kMicrosecondsPerSecond),
              row.wallClock);
    EXPECT_EQ(ToDateTime(row.wallClock), instant);
  }
  // Sub-second parts are dropped toward zero.
  const auto at = [](std::int64_t microseconds) {
    return FromDateTime(DateTime::FromUnixMicroseconds(microseconds), 0, 0);
  };
  EXPECT_EQ(at(-999999), at(0));
  EXPECT_EQ(at(-1000001), at(-1000000));
}

TEST(Instants, SecondsAcrossCenturiesRoundTrip) {
  // A stride that is prime to a day visits every time of day and both sides of 1970.
  for (DateTime instant = DateTime::FromUnixSeconds(-62135596800);
       instant < DateTime::FromUnixSeconds(253402300799);
       instant += TimeInterval::Seconds(77777777)) {
    const ZonedDateTime local = FromDateTime(instant, -25200, -25200000000);
    ASSERT_TRUE(IsValidDate(local.date)) << instant;
    ASSERT_TRUE(IsValidTimeOfDay(local.time)) << instant;
    ASSERT_EQ(ToDateTime(local), instant);
  }
}

TEST(Instants, ValuesBeyondTheRangeThrow) {
  EXPECT_THROW(static_cast<void>(ToDateTime(Zoned({1, 1, 300000}, {0, 0, 0}, 0))),
               DateTimeOutOfRange);
  EXPECT_THROW(static_cast<void>(FromDateTime(DateTime::Min(), 0, 0)), InvalidDateTimeNegativeYear);
  const ZonedDateTime late = FromDateTime(DateTime::Max(), 0, 0);
  EXPECT_EQ(late.date.year, 294247u);
}

// Brackets a reading of the clock with time() before and after it.
template <class Read>
void ExpectCurrentSecond(Read read) {
  const std::time_t before = std::time(nullptr);
  const DateTime now = read();
  const std::time_t after = std::time(nullptr);
  EXPECT_EQ(now, DateTime::FromUnixSeconds(now.UnixSeconds()));
  EXPECT_GE(now, DateTime::FromUnixSeconds(before));
  EXPECT_LE(now, DateTime::FromUnixSeconds(after));
}

TEST(Clock, LocalOffsetFollowsTheZoneInEffect) {
  const char* const saved = std::getenv("TZ");
  const std::string savedRule = saved != nullptr ? saved : "";
  for (const auto& [rule, seconds] : {std::pair<const char*, std::int64_t>{"UTC0", 0},
                                      {"QVX-5:30", 19800},
                                      {"QVX+3", -10800},
                                      {"QVX-14", 50400}}) {
    SCOPED_TRACE(rule);
    setenv("TZ", rule, 1);
    tzset();
    EXPECT_EQ(LocalUTCOffset().microseconds, seconds * kMicrosecondsPerSecond);
    ExpectCurrentSecond([] { return Now(); });
  }
  saved != nullptr ? setenv("TZ", savedRule.c_str(), 1) : unsetenv("TZ");
  tzset();
}

TEST(Clock, FixedClocksNestAndRestoreTheSystemClock) {
  {
    const DateTime outerTime = DateTime::FromUnixMicroseconds(1000);
    const DateTime innerTime = DateTime::FromUnixMicroseconds(5);
    FixedClock outer(outerTime);
    {
      FixedClock inner(innerTime);
      inner.Advance(TimeInterval::Seconds(1));
      EXPECT_EQ(Now(), innerTime + TimeInterval::Seconds(1));
    }
    EXPECT_EQ(Now(), outerTime);
  }
  ExpectCurrentSecond([] { return Now(); });
}

}  // namespace
