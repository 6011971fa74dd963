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
                 event->xbutton.y_root, lastPress.count + 1};
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
  const auto window = static_cast<std::uint32_t>(XtGetMultiClickTime(display));
  // A callback that no recent press led to (a key bound to the button, say) is an answer of
  // its own, whatever press was refused before it.
  const auto sincePress = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(XtLastTimestampProcessed(display)) - lastPress.time);
  if (sincePress < 0 || static_cast<std::uint32_t>(sincePress) >= window) return true;
  return PressStandsAlone(armedPress_, lastPress, window);
}

bool ClickGuard::PressStandsAlone(const Press& armed, const Press& press,
                                  std::uint32_t window) noexcept {
  // A press elsewhere in between (a line chosen, another button) makes it a click of its own.
  if (press.count != armed.count + 1) return true;
  if (std::abs(press.x - armed.x) > kSameSpotPixels ||
      std::abs(press.y - armed.y) > kSameSpotPixels) {
    return true;
  }
  // Server time wraps every 49.7 days; the armed press itself is a distance of 0.
  const auto distance = static_cast<std::int32_t>(press.time - armed.time);
  return distance < 0 || static_cast<std::uint32_t>(distance) >= window;
}
