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
  UICommandQueue& commands = session.commands;
  hiddenWindow_ = std::make_unique<HiddenWindow>(commands);
  confirmation_ = std::make_unique<ConfirmationDialog>(commands);
  details_ = std::make_unique<ActionDetailsDialog>(commands);
  actionRequests_ =
      std::make_unique<ActionRequestDialog>(session.state, commands, *confirmation_, *details_);
  quietModeNotice_ = std::make_unique<QuietModeNotice>(commands);
}

void XDialogs::Started() { hiddenWindow_->Create(); }

void XDialogs::SecondPassed() { messages_->Expire(); }

void XDialogs::PendingRequestsDue() { actionRequests_->Open(); }

// A closed dialog shows the list afresh when it opens; a disabled one when it is enabled again.
void XDialogs::PendingRequestsChanged() { actionRequests_->Refresh(); }

void XDialogs::AnswerCarriedOut() { actionRequests_->Enable(); }

// The request dialog is disabled under a confirmation or the preview whatever enabled it earlier
// in the same tick (a notice's OK handled before the take that asks for the confirmation).
void XDialogs::ConfirmationWanted(const ActionRequest& request) {
  confirmation_->Open(request);
  actionRequests_->Disable();
}

void XDialogs::PreviewWanted(const ActionRequest* request) {
  details_->Open(request);
  actionRequests_->Disable();
}

// The notice explains the disabled dialog: with the dialog closed there is nothing to disable
// and nothing to explain.
void XDialogs::QuietModeBegan(DateTime startTime, DateTime endTime) {
  if (!actionRequests_->IsOpen()) return;
  quietModeNotice_->Show(startTime, endTime);
  actionRequests_->Disable();
}

void XDialogs::QuietModeEnded() {
  quietModeNotice_->Close();
  if (actionRequests_->IsOpen()) actionRequests_->Enable();
}

void XDialogs::MessageArrived(const MessageRequest& message, MessageButton button,
                              MessageStacking stacking) {
  messages_->Show(message, button, stacking);
}

void XDialogs::MessageRemoved(std::uint64_t id) { messages_->Remove(id); }
