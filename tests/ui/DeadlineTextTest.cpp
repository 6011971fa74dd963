#include "ui/DeadlineText.h"

#include "tests/ui/ZoneRule.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TimeInterval kMicrosecond = TimeInterval::Microseconds(1);
constexpr TimeInterval kSecond = TimeInterval::Seconds(1);
constexpr TimeInterval kHour = TimeInterval::Hours(1);

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(DeadlineText, EveryRoundingEdge) {
  constexpr DeadlineKind kAuto = DeadlineKind::kAutomatic;
  constexpr DeadlineKind kTake = DeadlineKind::kMustTake;
  struct Row {
    TimeInterval left;
    DeadlineKind kind;
    const char* expected;
  } const rows[] = {
      // clang-format off
      {-kMicrosecond, kAuto, "0 seconds"}, {-kMicrosecond, kTake, "Overdue"},
      {{}, kAuto, "0 seconds"}, {{}, kTake, "Now"},
      {kSecond, kAuto, "1 second"}, {2 * kSecond - kMicrosecond, kAuto, "1 second"},
      {2 * kSecond, kAuto, "2 seconds"}, {60 * kSecond - kMicrosecond, kAuto, "59 seconds"},
      {60 * kSecond, kAuto, "1 minute, 0 seconds"}, {61 * kSecond, kAuto, "1 minute, 1 second"},
      {121 * kSecond, kAuto, "2 minutes, 1 second"},
      {299 * kSecond, kAuto, "4 minutes, 59 seconds"},
      {300 * kSecond, kAuto, "5 minutes, 0 seconds"}, {300 * kSecond, kTake, "Now"},
      {300 * kSecond + kMicrosecond, kAuto, "5 minutes"},
      {300 * kSecond + kMicrosecond, kTake, "5 minutes"},
      {kHour - kMicrosecond, kTake, "59 minutes"}, {kHour, kAuto, "60 minutes"},
      {kHour + kMicrosecond, kTake, "1 hour"},
      {kHour + 1800 * kSecond, kTake, "1 hour"},  // exactly half an hour over adds nothing
      {kHour + 1800 * kSecond + kMicrosecond, kTake, "2 hours"}, {24 * kHour, kTake, "24 hours"},
      {24 * kHour + kMicrosecond, kTake, "1 day"}, {36 * kHour, kTake, "1 day"},
      {36 * kHour + kMicrosecond, kAuto, "2 days"},
      // clang-format on
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.left.InMicroseconds()) +
                 (row.kind == kAuto ? " automatic" : ""));
    EXPECT_EQ(Str(FormatDeadlineText(row.left, row.kind)), row.expected);
  }
}

TEST(DeadlineText, ListDeadlineIsLocalAndLookedUpForOverrides) {
  const ZoneRule zone("QVX-5:30");
  EXPECT_EQ(Str(FormatListDeadline(DateTime::FromUnixMicroseconds(1709622489999999))),
            "Tue, 05 Mar 2024 12:38:09");
  const OverrideTable table("{date} {time}\t{date} um {time}\n1 day\tein Tag\n", "de.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  EXPECT_EQ(Str(FormatListDeadline(DateTime::FromUnixSeconds(-1))), "Thu, 01 Jan 1970 um 05:29:59");
  EXPECT_EQ(Str(FormatDeadlineText(30 * kHour, DeadlineKind::kMustTake)), "ein Tag");
}

// A deadline a client can send whose local date falls before the year 0.
TEST(DeadlineText, AnInstantWithoutALocalDateStillHasItsTimeOfDay) {
  const ZoneRule zone("QVX+1");  // one hour west of UTC
  const DateTime yearZero = ToDateTime(ZonedDateTime{{1, 1, 0}, {0, 30, 0}, 0, 0});
  EXPECT_EQ(Str(FormatListDeadline(yearZero)), "<Invalid String>");
  EXPECT_EQ(Str(FormatLocalTimeOfDay(yearZero)), "23:30:00");
  EXPECT_EQ(Str(FormatLocalTimeOfDay(DateTime::Max())), "03:00:54");
  EXPECT_EQ(Str(FormatLocalTimeOfDay(DateTime::FromUnixSeconds(-1))), "22:59:59");
}

// Every field keeps its padding and grows past it when it must, whether one text is made alone or
// a list's worth with one reading of the offset and the wording.
TEST(DeadlineText, ListDeadlineFieldsAtEveryWidth) {
  const ZoneRule zone("UTC0");
  const struct {
    DateTime deadline;
    const char* expected;
  } rows[] = {
      {DateTime::FromUnixSeconds(0), "Thu, 01 Jan 1970 00:00:00"},
      {ToDateTime(ZonedDateTime{{9, 12, 1}, {1, 2, 3}, 0, 0}), "Sun, 09 Dec 0001 01:02:03"},
      {ToDateTime(ZonedDateTime{{31, 12, 9999}, {23, 59, 59}, 0, 0}), "Fri, 31 Dec 9999 23:59:59"},
      {DateTime::Max(), "Sun, 10 Jan 294247 04:00:54"},
  };
  const ListDeadlineFormat list;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(Str(FormatListDeadline(row.deadline)), row.expected);
    EXPECT_EQ(Str(list.Format(row.deadline)), row.expected);
  }
}

// A list's texts use the wording in force when the list began, even if it changes before the
// last item: a refresh shows one wording throughout.
TEST(DeadlineText, ListKeepsTheWordingItBeganWith) {
  const ZoneRule zone("UTC0");
  const DateTime deadline = DateTime::FromUnixSeconds(86399);
  const ListDeadlineFormat plain;
  const OverrideTable table("{date} {time}\t{date} um {time}\n", "de.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  const ListDeadlineFormat overridden;
  EXPECT_EQ(Str(plain.Format(deadline)), "Thu, 01 Jan 1970 23:59:59");
  EXPECT_EQ(Str(overridden.Format(deadline)), "Thu, 01 Jan 1970 um 23:59:59");
}

}  // namespace
