#include "ui/FocusOrder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

// Controls as a string: 'x' can take the focus, '.' cannot.
std::vector<bool> Reachable(const std::string& controls) {
  std::vector<bool> reachable;
  for (char control : controls) reachable.push_back(control == 'x');
  return reachable;
}

TEST(FocusOrder, TabSkipsWhatCannotTakeTheFocusAndGoesAroundTheEnds) {
  struct Row {
    const char* controls;
    int current;
    FocusStep step;
    int expected;
  } const rows[] = {
      {"xxx", 0, FocusStep::kNext, 1},
      {"x.x", 0, FocusStep::kNext, 2},
      {"x.x", 2, FocusStep::kNext, 0},
      {"x.x", 0, FocusStep::kPrevious, 2},
      {".xx.", 1, FocusStep::kPrevious, 2},
      {"x..", 0, FocusStep::kNext, 0},
      {"...", 1, FocusStep::kNext, -1},
      {"", -1, FocusStep::kNext, -1},
      // From no focus: Tab reaches the first control, Shift+Tab the last.
      {".xx.", -1, FocusStep::kNext, 1},
      {".xx.", -1, FocusStep::kPrevious, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.controls) + " from " + std::to_string(row.current));
    EXPECT_EQ(NextFocus(Reachable(row.controls), row.current, row.step), row.expected);
  }
}

TEST(FocusOrder, AFocusItsControlNoLongerLetsInFallsOnAListNeverOnAnAnswer) {
  // Controls as a string: 'L' a list, 'B' a button (an answer); lower case cannot take focus.
  struct Row {
    const char* controls;
    int current;
    int expected;
  } const rows[] = {
      {"LBBB", 2, 2}, {"LbBB", 1, 0}, {"lbBB", 1, -1}, {"BbBL", 1, 3},
      {"LBLB", 3, 3}, {"lBLb", 3, 2}, {"bbb", 0, -1},  {"LB", -1, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.controls) + " from " + std::to_string(row.current));
    std::vector<bool> reachable, answers;
    for (const char* control = row.controls; *control != '\0'; ++control) {
      reachable.push_back(std::isupper(static_cast<unsigned char>(*control)) != 0);
      answers.push_back(std::toupper(static_cast<unsigned char>(*control)) == 'B');
    }
    EXPECT_EQ(KeptFocus(reachable, answers, row.current), row.expected);
  }
}

TEST(FocusOrder, UpAndDownStopAtTheEndsOfAList) {
  struct Row {
    int count, current, step, expected;
  } const rows[] = {
      {3, 0, +1, 1},  {3, 2, +1, 2},  {3, 1, -1, 0},   {3, 0, -1, 0},
      {3, -1, +1, 0}, {3, -1, -1, 2}, {0, -1, +1, -1}, {2, 5, +1, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.current) + " of " + std::to_string(row.count));
    EXPECT_EQ(NextListLine(row.count, row.current, row.step), row.expected);
  }
}

}  // namespace
