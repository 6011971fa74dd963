#include "ui/ActionButtonRow.h"

#include <gtest/gtest.h>

namespace {

TEST(ActionButtonRow, ButtonsEndUnderTheDescriptionAndWidenItWhenTheyDoNotFit) {
  struct Row {
    int border;
    ActionButtonWidths widths;
    ActionButtonRow expected;
    int textWidth, listWidth;
  } const rows[] = {
      {1, {100, 90, 95, 85}, {500, false, 416, 315, 219}, 499, 484},
      // The four buttons and 20 borders exactly as wide as the description still fit.
      {1, {120, 120, 120, 120}, {500, false, 381, 255, 129}, 499, 484},
      {1, {120, 120, 120, 121}, {501, true, 381, 255, 129}, 500, 485},
      {2, {150, 150, 150, 150}, {640, true, 492, 330, 168}, 638, 623},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected.width);
    const ActionButtonRow placed = PlaceActionButtons(500, row.border, row.widths);
    EXPECT_EQ(placed.width, row.expected.width);
    EXPECT_EQ(placed.widened, row.expected.widened);
    EXPECT_EQ(placed.takeDistance, row.expected.takeDistance);
    EXPECT_EQ(placed.cancelDistance, row.expected.cancelDistance);
    EXPECT_EQ(placed.detailsDistance, row.expected.detailsDistance);
    EXPECT_EQ(TextWidth(placed, row.border), row.textWidth);
    EXPECT_EQ(ListWidth(placed, row.border), row.listWidth);
  }
  // The snooze button follows the widened row.
  EXPECT_EQ(RightAlignedDistance(640, 60, 2), 582);
}

}  // namespace
