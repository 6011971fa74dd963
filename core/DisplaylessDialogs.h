// The program's display-less mode: the dialog operations with no window behind them. It keeps
// the state a query must answer (the action request dialog is open once opened, and enabled or
// disabled as it was told), so the session behaves as it would with windows the user never
// touches.
#pragma once

#include "core/DialogOperations.h"

class DisplaylessDialogs final : public DialogOperations {
 public:
  void OpenActionRequestDialog(TimeInterval remindInterval, bool allowSnooze) override;
  void RefreshActionRequestDialog() override {}
  void EnableActionRequestDialog() override;
  void DisableActionRequestDialog() override;
  [[nodiscard]] bool IsActionRequestDialogOpen() override { return open_; }
  [[nodiscard]] bool IsActionRequestDialogEnabled() override { return open_ && enabled_; }
  void OpenConfirmationDialog(std::uint64_t) override {}
  void OpenActionDetailsDialog(std::uint64_t) override {}
  void ShowMessageDialog(const MessageRequest&, bool, bool) override {}
  void RemoveMessageDialog(std::uint64_t) override {}
  void ExpireMessageDialogs() override {}
  void ShowQuietModeNotice(DateTime, DateTime) override {}
  void CloseQuietModeNotice() override {}

 private:
  bool open_ = false;
  bool enabled_ = false;
};
