// The prompt for a request that carries a PreActionMessage: the user accepts (the take goes
// ahead) or refuses (nothing is taken). At most one exists; the action request dialog stays
// disabled while it is open.
#pragma once

#include "core/UICommand.h"
#include "ui/ClickGuard.h"
#include "ui/DialogWindow.h"

#include <cstdint>

struct ActionRequest;
struct DialogLayout;

class ConfirmationDialog final : public DialogWindow {
 public:
  // The answers are posted to commands.
  explicit ConfirmationDialog(UICommandQueue& commands) noexcept : DialogWindow(commands) {}

  // Does nothing while a confirmation is open; otherwise shows the record's Title and
  // PreActionMessage. The answer names the record by its arrival number.
  void Open(const ActionRequest& request);

  // The window's widgets for the generated documentation.
  [[nodiscard]] static DialogLayout Layout();

 private:
  void Build(const ActionRequest& request);
  void Accept();
  void Refuse();
  void Close(UICommandKind answerKind);

  static constexpr int kInitialTextWidth = 500;

  std::uint64_t confirmingArrival_ = 0;
  // The click that asked for the confirmation must not also answer it.
  ClickGuard guard_;
  // Only grows: a fixed line wider than the text makes this and every later text that wide.
  int confirmationWidth_ = kInitialTextWidth;
};
