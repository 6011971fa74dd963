#include "ui/MonitorLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const ScreenArea kScreen = {0, 0, 2560, 1024};
const ScreenArea kLeft = {0, 0, 1280, 1024};
const ScreenArea kRight = {1280, 0, 1280, 1024};
// Shorter than the screen: below it lies a gap no monitor shows.
const ScreenArea kShortRight = {1280, 0, 1280, 768};

TEST(MonitorLayout, DialogOpensWholeOnTheMonitorNearestThePointer) {
  struct Row {
    const char* name;
    std::vector<ScreenArea> randr, xinerama;
    ScreenPoint pointer;
    int width, height;
    ScreenPoint expected;
  } const rows[] = {
      {"left head", {kLeft, kRight}, {}, {100, 900}, 400, 300, {440, 362}},
      {"right head", {kLeft, kRight}, {}, {2000, 10}, 400, 300, {1720, 362}},
      {"left head's last column", {kLeft, kRight}, {}, {1279, 0}, 400, 300, {440, 362}},
      {"gap under short head", {kLeft, kShortRight}, {}, {2000, 900}, 400, 300, {1720, 234}},
      {"wider than head", {kLeft, kRight}, {}, {2000, 10}, 1500, 300, {1060, 362}},
      {"wider than screen", {kLeft, kRight}, {}, {2000, 10}, 3000, 300, {0, 362}},
      {"taller than head", {kLeft, kShortRight}, {}, {2000, 10}, 400, 900, {1720, 0}},
      {"RandR small, Xinerama two", {kLeft}, {kLeft, kRight}, {2000, 10}, 400, 300, {1720, 362}},
      {"RandR spans, Xinerama two", {kScreen}, {kLeft, kRight}, {2000, 10}, 400, 300, {1720, 362}},
      {"RandR only", {kLeft, kRight}, {kLeft}, {2000, 10}, 400, 300, {1720, 362}},
      {"neither answers", {}, {}, {2000, 10}, 400, 300, {1080, 362}},
      {"only empty monitors", {{0, 0, 0, 0}}, {}, {2000, 10}, 400, 300, {1080, 362}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const MonitorLayout layout = MonitorLayout::Choose(kScreen, row.randr, row.xinerama);
    const ScreenPoint corner = layout.CenteredCorner(row.pointer, row.width, row.height);
    EXPECT_EQ(corner.x, row.expected.x);
    EXPECT_EQ(corner.y, row.expected.y);
  }
}

}  // namespace
