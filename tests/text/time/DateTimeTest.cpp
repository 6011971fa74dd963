// The calendar arithmetic: day numbers and their inverse across centuries and leap years,
// instants and wall clocks at offsets, including times before 1970, and the clock.
#include "text/time/DateTime.h"

#include "text/time/Clock.h"
#include "text/time/TimeErrors.h"

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace {

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
    DateTime instant;
    std::int64_t offset;
    ZonedDateTime wallClock;
  } const rows[] = {
      {0, 0, Zoned({1, 1, 1970}, {0, 0, 0}, 0)},
      {0, 3600, Zoned({1, 1, 1970}, {1, 0, 0}, 3600)},
      {0, -19800, Zoned({31, 12, 1969}, {18, 30, 0}, -19800)},
      {-1000000, 0, Zoned({31, 12, 1969}, {23, 59, 59}, 0)},
      {-86401000000, 0, Zoned({30, 12, 1969}, {23, 59, 59}, 0)},
      {1709618889000000, 3600, Zoned({5, 3, 2024}, {7, 8, 9}, 3600)},
      {-62167219200000000, 0, Zoned({1, 1, 0}, {0, 0, 0}, 0)},
      {253402300799000000, 0, Zoned({31, 12, 9999}, {23, 59, 59}, 0)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.instant);
    EXPECT_EQ(FromDateTime(row.instant, row.offset, row.offset * kMicrosecondsPerSecond),
              row.wallClock);
    EXPECT_EQ(ToDateTime(row.wallClock), row.instant);
  }
  // Sub-second parts are dropped toward zero.
  EXPECT_EQ(FromDateTime(-999999, 0, 0), FromDateTime(0, 0, 0));
  EXPECT_EQ(FromDateTime(-1000001, 0, 0), FromDateTime(-1000000, 0, 0));
}

TEST(Instants, SecondsAcrossCenturiesRoundTrip) {
  // A stride that is prime to a day visits every time of day and both sides of 1970.
  for (DateTime instant = -62135596800000000; instant < 253402300799000000;
       instant += 77777777000000) {
    const ZonedDateTime local = FromDateTime(instant, -25200, -25200000000);
    ASSERT_TRUE(IsValidDate(local.date)) << instant;
    ASSERT_TRUE(IsValidTimeOfDay(local.time)) << instant;
    ASSERT_EQ(ToDateTime(local), instant);
  }
}

TEST(Instants, ValuesBeyondTheRangeThrow) {
  EXPECT_THROW(static_cast<void>(ToDateTime(Zoned({1, 1, 300000}, {0, 0, 0}, 0))),
               DateTimeOutOfRange);
  EXPECT_THROW(static_cast<void>(FromDateTime(std::numeric_limits<DateTime>::min(), 0, 0)),
               InvalidDateTimeNegativeYear);
  const ZonedDateTime late = FromDateTime(std::numeric_limits<DateTime>::max(), 0, 0);
  EXPECT_EQ(late.date.year, 294247u);
}

// Brackets a reading of the clock with time() before and after it.
template <class Read>
void ExpectCurrentSecond(Read read) {
  const std::time_t before = std::time(nullptr);
  const DateTime now = read();
  const std::time_t after = std::time(nullptr);
  EXPECT_EQ(now % kMicrosecondsPerSecond, 0);
  EXPECT_GE(now, before * kMicrosecondsPerSecond);
  EXPECT_LE(now, after * kMicrosecondsPerSecond);
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
    FixedClock outer(1000);
    {
      FixedClock inner(5);
      inner.Advance(kMicrosecondsPerSecond);
      EXPECT_EQ(Now(), 5 + kMicrosecondsPerSecond);
    }
    EXPECT_EQ(Now(), 1000);
  }
  ExpectCurrentSecond([] { return Now(); });
}

}  // namespace
