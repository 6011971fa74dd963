#include "ui/SnoozeChoices.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TimeInterval kMinute = 60 * kMicrosecondsPerSecond;

TEST(SnoozeChoices, BeforeDeadlineChoicesComeFirstOnlyWithADeadline) {
  const std::vector<SnoozeChoice> plain = SnoozeChoices(false);
  const std::vector<SnoozeChoice> withDeadline = SnoozeChoices(true);
  ASSERT_EQ(plain.size(), 17u);
  ASSERT_EQ(withDeadline.size(), 19u);
  EXPECT_EQ(std::string(withDeadline[0].text), "15 minutes before deadline");
  EXPECT_EQ(withDeadline[1].minutes, -5);
  EXPECT_EQ(std::string(withDeadline[2].text), plain[0].text);
  EXPECT_EQ(std::string(plain.back().text), "in 5 days");
}

TEST(SnoozeChoices, PreselectsTheNearestChoiceTheEarlierOnATie) {
  struct Row {
    bool anyDeadline;
    TimeInterval interval;
    const char* expected;
  } const rows[] = {
      {false, 0, "in 1 minute"},
      {false, 60 * kMinute, "in 1 hour"},
      {false, 3 * kMinute, "in 1 minute"},  // as far from 1 as from 5 minutes
      {false, 20 * kMinute, "in 15 minutes"},
      {false, 100 * 24 * 60 * kMinute, "in 5 days"},
      {true, -15 * kMinute, "15 minutes before deadline"},
      {true, -10 * kMinute, "15 minutes before deadline"},
      {true, -5 * kMinute, "5 minutes before deadline"},
      {true, 0, "in 1 minute"},
      {true, 60 * kMinute, "in 1 hour"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    const std::vector<SnoozeChoice> choices = SnoozeChoices(row.anyDeadline);
    EXPECT_EQ(std::string(choices.at(PreselectedSnoozeChoice(choices, row.interval)).text),
              row.expected);
  }
  EXPECT_EQ(PreselectedSnoozeChoice({}, 60 * kMinute), 0);
}

}  // namespace
