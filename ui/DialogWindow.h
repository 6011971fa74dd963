// What each dialog with at most one window open at a time is made of: that window's shell (null
// while closed) and the command queue the user's answers go to. The confirmation, the preview,
// the quiet-mode notice and the action request dialog derive from it.
#pragma once

#include "ui/KeyboardFocus.h"

#include <X11/Intrinsic.h>

class UICommandQueue;

class DialogWindow {
 public:
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  [[nodiscard]] bool IsOpen() const noexcept { return shell_ != nullptr; }

 protected:
  // commands outlives the dialog, whose callbacks post to it.
  explicit DialogWindow(UICommandQueue& commands) noexcept : commands_(commands) {}
  ~DialogWindow() = default;

  // Realized in the middle of the screen, where the window manager's close button leaves it
  // open; a text's scrollbar, if given, drags continuously.
  void ShowWindow(Widget text = nullptr);
  // Nothing when no window is open.
  void DestroyWindow();

  UICommandQueue& commands_;
  Widget shell_ = nullptr;
  // Attached by each dialog once its window is shown.
  KeyboardFocus keys_;
};
