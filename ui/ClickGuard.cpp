#include "ui/ClickGuard.h"

#include "ui/ToolkitContext.h"

#include <X11/XKBlib.h>

#include <array>
#include <bitset>
#include <cstdlib>

namespace {

// How far the pointer may move between the presses of one double-click.
constexpr int kSameSpotPixels = 8;

// The toolkit's dispatcher gets no client data: the last press of the one display is kept here.
XtEventDispatchProc previousDispatcher = nullptr;
XtEventDispatchProc previousKeyDispatcher = nullptr;
XtEventDispatchProc previousReleaseDispatcher = nullptr;
bool anyPress = false;
ClickGuard::Press lastPress;
ClickGuard::Key lastKey;
std::bitset<256> keysDown;
std::array<std::uint32_t, 256> keyPressTimes{};
// A key's repeats follow one another at the server's repeat rate. A key whose release went to
// another client's window, and so looks held, is taken as pressed anew after this long.
constexpr std::uint32_t kRepeatGapMilliseconds = 2000;
// Whether the event being dispatched, which a callback may answer, is a key press.
bool dispatchingKey = false;

// The toolkit hands back its default dispatcher when none was set before.
Boolean DispatchOn(XtEventDispatchProc previous, XEvent* event) {
  return previous != nullptr ? previous(event) : False;
}

Boolean DispatchPress(XEvent* event) {
  lastPress = {static_cast<std::uint32_t>(event->xbutton.time), event->xbutton.x_root,
               event->xbutton.y_root, lastPress.count + 1};
  anyPress = true;
  return DispatchOn(previousDispatcher, event);
}

Boolean DispatchKey(XEvent* event) {
  const unsigned int keycode = event->xkey.keycode % keysDown.size();
  const auto time = static_cast<std::uint32_t>(event->xkey.time);
  const bool repeat =
      keysDown.test(keycode) && time - keyPressTimes[keycode] < kRepeatGapMilliseconds;
  lastKey = {time, keycode, lastKey.count + 1, repeat};
  keysDown.set(keycode);
  keyPressTimes[keycode] = time;
  dispatchingKey = true;
  const Boolean handled = DispatchOn(previousKeyDispatcher, event);
  dispatchingKey = false;
  return handled;
}

Boolean DispatchRelease(XEvent* event) {
  keysDown.reset(event->xkey.keycode % keysDown.size());
  return DispatchOn(previousReleaseDispatcher, event);
}

}  // namespace

void ClickGuard::TrackPresses(Display* display) {
  previousDispatcher = XtSetEventDispatcher(display, ButtonPress, DispatchPress);
  previousKeyDispatcher = XtSetEventDispatcher(display, KeyPress, DispatchKey);
  previousReleaseDispatcher = XtSetEventDispatcher(display, KeyRelease, DispatchRelease);
  // Without this the server sends a release before each repeat, and a held key looks like
  // presses of its own.
  XkbSetDetectableAutoRepeat(display, True, nullptr);
}

void ClickGuard::Arm() noexcept {
  armed_ = anyPress;
  armedPress_ = lastPress;
  armedKey_ = lastKey;
}

bool ClickGuard::Accepts() const noexcept {
  Display* display = ToolkitDisplay();
  if (display == nullptr) return true;
  // The toolkit's own measure of a double-click (the multiClickTime resource).
  const auto window = static_cast<std::uint32_t>(XtGetMultiClickTime(display));
  if (dispatchingKey) return KeyStandsAlone(armedKey_, lastKey, window);
  if (!armed_) return true;
  // A callback that no recent press led to (a key bound to the button, say) is an answer of
  // its own, whatever press was refused before it.
  const auto sincePress = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(XtLastTimestampProcessed(display)) - lastPress.time);
  if (sincePress < 0 || static_cast<std::uint32_t>(sincePress) >= window) return true;
  return PressStandsAlone(armedPress_, lastPress, window);
}

bool ClickGuard::KeyStandsAlone(const Key& armed, const Key& key, std::uint32_t window) noexcept {
  if (key.repeat) return false;
  if (key.count != armed.count + 1 || key.keycode != armed.keycode) return true;
  const auto distance = static_cast<std::int32_t>(key.time - armed.time);
  return distance < 0 || static_cast<std::uint32_t>(distance) >= window;
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
