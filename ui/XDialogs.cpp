#include "ui/XDialogs.h"

#include "ui/ActionDetailsDialog.h"
#include "ui/ActionRequestDialog.h"
#include "ui/ConfirmationDialog.h"
#include "ui/MessageDialog.h"
#include "ui/QuietModeNotice.h"

void XDialogs::OpenActionRequestDialog(TimeInterval remindInterval, bool allowSnooze) {
  ::OpenActionRequestDialog(remindInterval, allowSnooze);
}
void XDialogs::RefreshActionRequestDialog() { ::RefreshActionRequestDialog(); }
void XDialogs::EnableActionRequestDialog() { ::EnableActionRequestDialog(); }
void XDialogs::DisableActionRequestDialog() { ::DisableActionRequestDialog(); }
bool XDialogs::IsActionRequestDialogOpen() { return ::IsActionRequestDialogOpen(); }
bool XDialogs::IsActionRequestDialogEnabled() { return ::IsActionRequestDialogEnabled(); }
void XDialogs::OpenConfirmationDialog(const ActionRequest& request) {
  ::OpenConfirmationDialog(request);
}
void XDialogs::OpenActionDetailsDialog(const ActionRequest* request) {
  ::OpenActionDetailsDialog(request);
}
void XDialogs::ShowMessageDialog(const MessageRequest& message, bool hideButton, bool topmost) {
  ::ShowMessageDialog(message, hideButton, topmost);
}
void XDialogs::RemoveMessageDialog(std::uint64_t id) { ::RemoveMessageDialog(id); }
void XDialogs::ExpireMessageDialogs() { ::ExpireMessageDialogs(); }
void XDialogs::ShowQuietModeNotice(DateTime startTime, DateTime endTime) {
  ::ShowQuietModeNotice(startTime, endTime);
}
void XDialogs::CloseQuietModeNotice() { ::CloseQuietModeNotice(); }
