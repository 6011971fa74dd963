// The notice shown while the administrator has disabled the interface for a period: at most one,
// shown only while the action request dialog is open.
#pragma once

#include "text/time/DateTime.h"
#include "ui/DialogWindow.h"

#include <string>
#include <vector>

struct DialogLayout;

class QuietModeNotice final : public DialogWindow {
 public:
  // Its closing by the user is posted to commands.
  explicit QuietModeNotice(UICommandQueue& commands) noexcept : DialogWindow(commands) {}

  // Does nothing while the notice is open; otherwise shows the period as local times of day.
  void Show(DateTime startTime, DateTime endTime);
  void Close() { DestroyWindow(); }

  // The window's widgets for the generated documentation.
  [[nodiscard]] static DialogLayout Layout();

 private:
  void Build(const std::vector<std::string>& texts);
  void OkPressed();
};
