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
      {"second press of a double-click", {1000, 40, 50}, {1120, 40, 50}, false},
      {"the armed press itself", {1000, 40, 50}, {1000, 40, 50}, false},
      {"one millisecond short", {1000, 40, 50}, {1499, 40, 50}, false},
      {"the window's length later", {1000, 40, 50}, {1500, 40, 50}, true},
      {"a deliberate click later", {1000, 40, 50}, {4000, 40, 50}, true},
      {"a hand's tremor away", {1000, 40, 50}, {1120, 48, 42}, false},
      {"on another button", {1000, 40, 50}, {1120, 49, 50}, true},
      {"above it", {1000, 40, 50}, {1120, 40, 41}, true},
      {"a press from before the arming", {1000, 40, 50}, {900, 40, 50}, true},
      {"across the wrap of server time", {0xFFFFFFA0u, 0, 0}, {0x00000010u, 0, 0}, false},
      {"well past the wrap", {0xFFFFFFA0u, 0, 0}, {0x00000200u, 0, 0}, true},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(ClickGuard::PressStandsAlone(row.armed, row.press, kWindow), row.standsAlone);
  }
}

}  // namespace
