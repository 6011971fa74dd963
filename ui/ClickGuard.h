// Keeps the second press of a double-click from answering a dialog that the first press brought
// up or enabled. Answers are carried out at once, so the confirmation that one click on "Take
// Action" opens, or the request that moves under the pointer after a take, is there before the
// second press of the same double-click lands on it. The press that follows the last press
// before the guard was armed, at its spot and within the toolkit's multi-click time of it, is
// taken as part of that click.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

class ClickGuard {
 public:
  // Where and when a button went down, in root coordinates and server milliseconds (which wrap),
  // and how many presses came before it.
  struct Press {
    std::uint32_t time = 0;
    int x = 0;
    int y = 0;
    std::uint64_t count = 0;
  };

  // A key going down, with how many key presses came before it; a repeat is one the server
  // makes while the key is held.
  struct Key {
    std::uint32_t time = 0;
    unsigned int keycode = 0;
    std::uint64_t count = 0;
    bool repeat = false;
  };

  // Makes the display report every button and key press to the guards; once, when the toolkit
  // starts.
  static void TrackPresses(Display* display);

  // From now on, presses that continue the last press seen so far are refused.
  void Arm() noexcept;
  // Whether the press that led to the running callback is an answer of its own.
  [[nodiscard]] bool Accepts() const noexcept;

  // The rule: the very next press, within `window` milliseconds of the armed one and at its spot,
  // continues it.
  [[nodiscard]] static bool PressStandsAlone(const Press& armed, const Press& press,
                                             std::uint32_t window) noexcept;
  // The same for keys: a held key answers once, and the very next press of the armed key within
  // `window` milliseconds continues it.
  [[nodiscard]] static bool KeyStandsAlone(const Key& armed, const Key& key,
                                           std::uint32_t window) noexcept;

 private:
  bool armed_ = false;
  Press armedPress_;
  Key armedKey_;
};
