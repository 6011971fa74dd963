#include "ui/FocusOrder.h"

#include <gtest/gtest.h>

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
      {"", -1, FocusStep::kStay, -1},
      // A focus its control no longer lets in moves on; a reachable one stays.
      {".x.x", 1, FocusStep::kStay, 1},
      {".x.x", 2, FocusStep::kStay, 3},
      {"x..", 2, FocusStep::kStay, 0},
      {"...", 0, FocusStep::kStay, -1},
      // From no focus: Tab reaches the first control, Shift+Tab the last.
      {".xx.", -1, FocusStep::kNext, 1},
      {".xx.", -1, FocusStep::kPrevious, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.controls) + " from " + std::to_string(row.current));
    EXPECT_EQ(NextFocus(Reachable(row.controls), row.current, row.step), row.expected);
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
