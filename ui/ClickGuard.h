// Keeps the second press of a double-click from answering a dialog that the first press brought
// up or enabled. Answers are carried out at once, so the confirmation that one click on "Take
// Action" opens, or the request that moves under the pointer after a take, is there before the
// second press of the same double-click lands on it. A press at the spot of the last press
// before the guard was armed, within the toolkit's multi-click time of it, is taken as part of
// that click.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

class ClickGuard {
 public:
  // Where and when a button went down, in root coordinates and server milliseconds (which wrap).
  struct Press {
    std::uint32_t time = 0;
    int x = 0;
    int y = 0;
  };

  // Makes the display report every button press to the guards; once, when the toolkit starts.
  static void TrackPresses(Display* display);

  // From now on, presses that continue the last press seen so far are refused.
  void Arm() noexcept;
  // Whether the press that led to the running callback is an answer of its own.
  [[nodiscard]] bool Accepts() const noexcept;

  // The rule: a press within `window` milliseconds of the armed one and at its spot continues it.
  [[nodiscard]] static bool PressStandsAlone(const Press& armed, const Press& press,
                                             std::uint32_t window) noexcept;

 private:
  bool armed_ = false;
  Press armedPress_;
};
