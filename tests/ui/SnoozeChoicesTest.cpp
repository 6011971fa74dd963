#include "ui/SnoozeChoices.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TimeInterval kMinute = TimeInterval::Minutes(1);

TEST(SnoozeChoices, NearestChoiceIsPreselectedTheEarlierOnATieDeadlineChoicesFirst) {
  struct Row {
    bool anyDeadline;
    TimeInterval interval;
    const char* expected;
  } const rows[] = {
      {false, {}, "in 1 minute"},
      {false, 3 * kMinute, "in 1 minute"},  // as far from 1 as from 5 minutes
      {false, 60 * kMinute, "in 1 hour"},
      {false, 100 * 1440 * kMinute, "in 5 days"},
      {true, -15 * kMinute, "15 minutes before deadline"},
      {true, -10 * kMinute, "15 minutes before deadline"},
      {true, -5 * kMinute, "5 minutes before deadline"},
      {true, {}, "in 1 minute"},
      // Whatever duration the client sends, no distance overflows.
      {false, TimeInterval::Max(), "in 5 days"},
      {true, TimeInterval::Min(), "15 minutes before deadline"},
      {true, TimeInterval::Max(), "in 5 days"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    const std::vector<SnoozeChoice> choices = SnoozeChoices(row.anyDeadline);
    EXPECT_EQ(choices.size(), row.anyDeadline ? 19u : 17u);
    EXPECT_EQ(std::string(choices.at(PreselectedSnoozeChoice(choices, row.interval)).text),
              row.expected);
  }
  EXPECT_EQ(PreselectedSnoozeChoice({}, 60 * kMinute), 0);
}

}  // namespace
