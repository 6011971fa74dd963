// What the session core asks of the dialogs: the one seam between the dispatcher and the timer on
// one side and the windows on the other. The X layer implements it (XDialogs, installed by main
// before the first dispatch); tests record the calls.
#pragma once

#include "core/ActionRequest.h"
#include "core/IncomingMessages.h"
#include "text/time/DateTime.h"

#include <cstdint>

class DialogOperations {
 public:
  virtual ~DialogOperations() = default;

  // The action request dialog. Open does nothing while it is open; Refresh does something only
  // while it is open and enabled.
  virtual void OpenActionRequestDialog(TimeInterval remindInterval, bool allowSnooze) = 0;
  virtual void RefreshActionRequestDialog() = 0;
  virtual void EnableActionRequestDialog() = 0;
  virtual void DisableActionRequestDialog() = 0;
  [[nodiscard]] virtual bool IsActionRequestDialogOpen() = 0;
  [[nodiscard]] virtual bool IsActionRequestDialogEnabled() = 0;

  // Asks the user to acknowledge the PreActionMessage of this pending record; the answer names
  // the record by its arrival number.
  virtual void OpenConfirmationDialog(const ActionRequest& request) = 0;
  // Shows the Preview of this pending record; null when it is no longer pending (an empty text).
  virtual void OpenActionDetailsDialog(const ActionRequest* request) = 0;

  // One window per message ID; a known ID updates its window in place.
  virtual void ShowMessageDialog(const MessageRequest& message, bool hideButton, bool topmost) = 0;
  virtual void RemoveMessageDialog(std::uint64_t id) = 0;
  virtual void ExpireMessageDialogs() = 0;

  // At most one notice; a second Show leaves the first one as it is.
  virtual void ShowQuietModeNotice(DateTime startTime, DateTime endTime) = 0;
  virtual void CloseQuietModeNotice() = 0;
};

// The implementation in use, set by main (or a test) before the first dispatch.
void SetDialogOperations(DialogOperations* operations) noexcept;
[[nodiscard]] DialogOperations& Dialogs() noexcept;
