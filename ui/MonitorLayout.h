// The monitors a dialog can open on and where on them: of the lists RandR and Xinerama give, the
// one that covers the screen, the monitor holding the pointer, and the dialog's corner centred on
// it. Pure arithmetic on the servers' answers; CenterShell asks the server and places the shell.
#pragma once

#include <utility>
#include <vector>

// A rectangle on the root window, in pixels.
struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A point on the root window: the pointer, or a window's top-left corner.
struct ScreenPoint {
  int x = 0;
  int y = 0;
};

class MonitorLayout {
 public:
  // The monitors of the list that covers more of the screen; of two that cover as much, the one
  // that tells more monitors apart, else RandR's. The whole screen as one monitor when neither
  // lists any.
  [[nodiscard]] static MonitorLayout Choose(const ScreenArea& screen,
                                            const std::vector<ScreenArea>& randr,
                                            const std::vector<ScreenArea>& xinerama);

  // The monitor holding the point; in a gap between monitors, the nearest one.
  [[nodiscard]] const ScreenArea& MonitorAt(ScreenPoint point) const noexcept;

  // The corner that centres a window of this size on the monitor holding the pointer. A window
  // larger than the monitor starts at its top-left corner, moved back onto the screen where it
  // would run past the screen's edge: its right-aligned buttons stay in sight.
  [[nodiscard]] ScreenPoint CenteredCorner(ScreenPoint pointer, int width,
                                           int height) const noexcept;

 private:
  MonitorLayout(const ScreenArea& screen, std::vector<ScreenArea> monitors)
      : screen_(screen), monitors_(std::move(monitors)) {}

  ScreenArea screen_;
  std::vector<ScreenArea> monitors_;
};
