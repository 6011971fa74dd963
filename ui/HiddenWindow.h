// The unmapped window "QVXClientUIHiddenWindow": another program opens the action request
// dialog by sending it a ClientMessage whose data begins with "open".
#pragma once

#include <X11/Intrinsic.h>

struct DialogLayout;
class UICommandQueue;

class HiddenWindow {
 public:
  // The requests to open are posted to commands, which outlives the window.
  explicit HiddenWindow(UICommandQueue& commands) noexcept : commands_(commands) {}
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;

  // Creates and realizes the window, never mapped, and hooks its handler. Called once, when the
  // session has started.
  void Create();

  // The window's widgets for the generated documentation.
  [[nodiscard]] static DialogLayout Layout();

 private:
  void EventArrived(Widget window, XEvent* event);

  UICommandQueue& commands_;
};
