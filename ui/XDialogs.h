// The dialog operations with the program's windows behind them: what main installs before it
// hands over to the toolkit.
#pragma once

#include "core/DialogOperations.h"

class XDialogs final : public DialogOperations {
 public:
  void OpenActionRequestDialog(TimeInterval remindInterval, bool allowSnooze) override;
  void RefreshActionRequestDialog() override;
  void EnableActionRequestDialog() override;
  void DisableActionRequestDialog() override;
  [[nodiscard]] bool IsActionRequestDialogOpen() override;
  [[nodiscard]] bool IsActionRequestDialogEnabled() override;
  void OpenConfirmationDialog(const ActionRequest& request) override;
  void OpenActionDetailsDialog(const ActionRequest* request) override;
  void ShowMessageDialog(const MessageRequest& message, bool hideButton, bool topmost) override;
  void RemoveMessageDialog(std::uint64_t id) override;
  void ExpireMessageDialogs() override;
  void ShowQuietModeNotice(DateTime startTime, DateTime endTime) override;
  void CloseQuietModeNotice() override;
};
