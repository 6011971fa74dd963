#include "ui/DeadlineText.h"

#include "tests/ui/ZoneRule.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TimeInterval kSecond = kMicrosecondsPerSecond;
constexpr TimeInterval kHour = 3600 * kSecond;

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(DeadlineText, EveryRoundingEdge) {
  constexpr DeadlineKind kAuto = DeadlineKind::kAutomatic;
  constexpr DeadlineKind kTake = DeadlineKind::kMustTake;
  struct Row {
    TimeInterval left;
    DeadlineKind kind;
    const char* expected;
  } const rows[] = {
      {-kHour, kAuto, "0 seconds"},
      {-1, kAuto, "0 seconds"},
      {-1, kTake, "Overdue"},
      {0, kAuto, "0 seconds"},
      {0, kTake, "Now"},
      {kSecond, kAuto, "1 second"},
      {2 * kSecond - 1, kAuto, "1 second"},
      {2 * kSecond, kAuto, "2 seconds"},
      {60 * kSecond - 1, kAuto, "59 seconds"},
      {60 * kSecond, kAuto, "1 minute, 0 seconds"},
      {61 * kSecond, kAuto, "1 minute, 1 second"},
      {62 * kSecond, kAuto, "1 minute, 2 seconds"},
      {120 * kSecond, kAuto, "2 minutes, 0 seconds"},
      {121 * kSecond, kAuto, "2 minutes, 1 second"},
      {299 * kSecond, kAuto, "4 minutes, 59 seconds"},
      {300 * kSecond, kAuto, "5 minutes, 0 seconds"},
      {300 * kSecond, kTake, "Now"},
      {300 * kSecond + 1, kAuto, "5 minutes"},
      {300 * kSecond + 1, kTake, "5 minutes"},
      {360 * kSecond - 1, kTake, "5 minutes"},
      {kHour - 1, kTake, "59 minutes"},
      {kHour, kAuto, "60 minutes"},
      {kHour + 1, kTake, "1 hour"},
      {kHour + 1800 * kSecond, kTake, "1 hour"},  // exactly half an hour over adds nothing
      {kHour + 1800 * kSecond + 1, kTake, "2 hours"},
      {91 * 60 * kSecond, kAuto, "2 hours"},
      {24 * kHour, kTake, "24 hours"},
      {24 * kHour + 1, kTake, "1 day"},
      {36 * kHour, kTake, "1 day"},
      {36 * kHour + 1, kAuto, "2 days"},
      {37 * kHour, kTake, "2 days"},
      {1000 * 24 * kHour, kTake, "1000 days"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.left) + (row.kind == kAuto ? " automatic" : ""));
    EXPECT_EQ(Str(FormatDeadlineText(row.left, row.kind)), row.expected);
  }
}

TEST(DeadlineText, ListDeadlineIsLocalAtTheOffsetInEffectNow) {
  struct Row {
    const char* zone;
    DateTime time;
    const char* expected;
  } const rows[] = {
      {"UTC0", 1709622489 * kSecond, "Tue, 05 Mar 2024 07:08:09"},
      {"QVX-1", 1709622489 * kSecond, "Tue, 05 Mar 2024 08:08:09"},
      {"QVX-5:30", 1709622489 * kSecond + 999999, "Tue, 05 Mar 2024 12:38:09"},
      {"QVX+3", 0, "Wed, 31 Dec 1969 21:00:00"},
      {"QVX-14", 4102444799 * kSecond, "Fri, 01 Jan 2100 13:59:59"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.zone);
    const ZoneRule zone(row.zone);
    EXPECT_EQ(Str(FormatListDeadline(row.time)), row.expected);
  }
}

TEST(DeadlineText, TextsAreLookedUpForOverrides) {
  const OverrideTable table(
      "{date} {time}\t{date} um {time}\nOverdue\tÜberfällig\n1 day\tein Tag\n{days} days\t{days} d",
      "de.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  const ZoneRule zone("UTC0");
  EXPECT_EQ(Str(FormatListDeadline(0)), "Thu, 01 Jan 1970 um 00:00:00");
  EXPECT_EQ(Str(FormatDeadlineText(-1, DeadlineKind::kMustTake)), "Überfällig");
  EXPECT_EQ(Str(FormatDeadlineText(30 * kHour, DeadlineKind::kMustTake)), "ein Tag");
  EXPECT_EQ(Str(FormatDeadlineText(48 * kHour, DeadlineKind::kMustTake)), "2 d");
}

}  // namespace
