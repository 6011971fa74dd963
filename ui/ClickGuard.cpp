#include "ui/ClickGuard.h"

#include "ui/ToolkitContext.h"

#include <cstdlib>

namespace {

// How far the pointer may move between the presses of one double-click.
constexpr int kSameSpotPixels = 8;

// The toolkit's dispatcher gets no client data: the last press of the one display is kept here.
XtEventDispatchProc previousDispatcher = nullptr;
bool anyPress = false;
ClickGuard::Press lastPress;

Boolean DispatchPress(XEvent* event) {
  if (event->type == ButtonPress) {
    lastPress = {static_cast<std::uint32_t>(event->xbutton.time), event->xbutton.x_root,
                 event->xbutton.y_root};
    anyPress = true;
  }
  // The toolkit hands back its default dispatcher when none was set before.
  return previousDispatcher != nullptr ? previousDispatcher(event) : False;
}

}  // namespace

void ClickGuard::TrackPresses(Display* display) {
  previousDispatcher = XtSetEventDispatcher(display, ButtonPress, DispatchPress);
}

void ClickGuard::Arm() noexcept {
  armed_ = anyPress;
  armedPress_ = lastPress;
}

bool ClickGuard::Accepts() const noexcept {
  Display* display = ToolkitDisplay();
  if (!armed_ || display == nullptr) return true;
  // The toolkit's own measure of a double-click (the multiClickTime resource).
  return PressStandsAlone(armedPress_, lastPress,
                          static_cast<std::uint32_t>(XtGetMultiClickTime(display)));
}

bool ClickGuard::PressStandsAlone(const Press& armed, const Press& press,
                                  std::uint32_t window) noexcept {
  if (std::abs(press.x - armed.x) > kSameSpotPixels ||
      std::abs(press.y - armed.y) > kSameSpotPixels) {
    return true;
  }
  // Server time wraps every 49.7 days; the armed press itself is a distance of 0.
  const auto distance = static_cast<std::int32_t>(press.time - armed.time);
  return distance < 0 || static_cast<std::uint32_t>(distance) >= window;
}
