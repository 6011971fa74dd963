// Google Test first: the X headers define None and Bool, names it uses.
#include <gtest/gtest.h>

#include "ui/ClickGuard.h"

#include <cstdint>

namespace {

TEST(ClickGuard, APressSoonAfterTheArmedOneAndAtItsSpotContinuesIt) {
  using Press = ClickGuard::Press;
  struct Row {
    const char* what;
    Press armed;
    Press press;
    bool standsAlone;
  };
  constexpr std::uint32_t kWindow = 500;
  // clang-format off
  const Row rows[] = {
      {"second press of a double-click", {1000, 40, 50, 1}, {1120, 40, 50, 2}, false},
      {"at the same millisecond", {1000, 40, 50, 1}, {1000, 40, 50, 2}, false},
      {"one millisecond short", {1000, 40, 50, 1}, {1499, 40, 50, 2}, false},
      {"the window's length later", {1000, 40, 50, 1}, {1500, 40, 50, 2}, true},
      {"a deliberate click later", {1000, 40, 50, 1}, {4000, 40, 50, 2}, true},
      {"a hand's tremor away", {1000, 40, 50, 1}, {1120, 48, 42, 2}, false},
      {"on another button", {1000, 40, 50, 1}, {1120, 49, 50, 2}, true},
      {"above it", {1000, 40, 50, 1}, {1120, 40, 41, 2}, true},
      {"a press from before the arming", {1000, 40, 50, 1}, {900, 40, 50, 2}, true},
      {"the armed press itself", {1000, 40, 50, 1}, {1000, 40, 50, 1}, true},
      {"after a press elsewhere", {1000, 40, 50, 1}, {1120, 40, 50, 3}, true},
      {"across the wrap of server time", {0xFFFFFFA0u, 0, 0, 1}, {0x00000010u, 0, 0, 2}, false},
      {"well past the wrap", {0xFFFFFFA0u, 0, 0, 1}, {0x00000200u, 0, 0, 2}, true},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(ClickGuard::PressStandsAlone(row.armed, row.press, kWindow), row.standsAlone);
  }
}

TEST(ClickGuard, AHeldKeyAnswersOnceAndAQuickSecondPressContinuesTheFirst) {
  using Key = ClickGuard::Key;
  struct Row {
    const char* what;
    Key key;
    bool standsAlone;
  };
  constexpr std::uint32_t kWindow = 500;
  const Key armed = {1000, 36, 7, false};
  const Row rows[] = {
      {"the key pressed again at once", {1120, 36, 8, false}, false},
      {"the key pressed again later", {1600, 36, 8, false}, true},
      {"the key held, repeating", {1700, 36, 8, true}, false},
      {"another key", {1120, 65, 8, false}, true},
      {"after another key", {1120, 36, 9, false}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(ClickGuard::KeyStandsAlone(armed, row.key, kWindow), row.standsAlone);
  }
}

}  // namespace
