#include "ui/XDialogs.h"

#include "core/Session.h"
#include "ui/ActionDetailsDialog.h"
#include "ui/ActionRequestDialog.h"
#include "ui/ConfirmationDialog.h"
#include "ui/HiddenWindow.h"
#include "ui/MessageDialog.h"
#include "ui/QuietModeNotice.h"

XDialogs::XDialogs() : messages_(std::make_unique<MessageDialog>()) {}
XDialogs::~XDialogs() = default;

void XDialogs::Attach(Session& session) {
  session_ = &session;
  hiddenWindow_ = std::make_unique<HiddenWindow>(session.commands);
  quietModeNotice_ = std::make_unique<QuietModeNotice>(session.commands);
}

void XDialogs::Started() { hiddenWindow_->Create(); }

void XDialogs::SecondPassed() { messages_->Expire(); }

void XDialogs::PendingRequestsDue() {
  OpenActionRequestDialog(session_->state, session_->commands);
}

// A closed dialog shows the list afresh when it opens; a disabled one when it is enabled again.
void XDialogs::PendingRequestsChanged() { RefreshActionRequestDialog(); }

void XDialogs::AnswerCarriedOut() { EnableActionRequestDialog(); }

void XDialogs::ConfirmationWanted(const ActionRequest& request) {
  OpenConfirmationDialog(request, session_->commands);
}

void XDialogs::PreviewWanted(const ActionRequest* request) {
  OpenActionDetailsDialog(request, session_->commands);
}

// The notice explains the disabled dialog: with the dialog closed there is nothing to disable
// and nothing to explain.
void XDialogs::QuietModeBegan(DateTime startTime, DateTime endTime) {
  if (!IsActionRequestDialogOpen()) return;
  quietModeNotice_->Show(startTime, endTime);
  DisableActionRequestDialog();
}

void XDialogs::QuietModeEnded() {
  quietModeNotice_->Close();
  if (IsActionRequestDialogOpen()) EnableActionRequestDialog();
}

void XDialogs::MessageArrived(const MessageRequest& message, MessageButton button,
                              MessageStacking stacking) {
  messages_->Show(message, button, stacking);
}

void XDialogs::MessageRemoved(std::uint64_t id) { messages_->Remove(id); }
