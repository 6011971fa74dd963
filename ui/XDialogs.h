// The session's view with the program's windows behind it: what main makes and attaches to the
// one Session before it hands over to the toolkit. It owns every dialog and turns the core's
// events into what each of them does.
#pragma once

#include "core/SessionView.h"

#include <memory>

class ActionDetailsDialog;
class ActionRequestDialog;
class ConfirmationDialog;
class HiddenWindow;
class MessageDialog;
class QuietModeNotice;
class Session;

class XDialogs final : public SessionView {
 public:
  XDialogs();
  XDialogs(const XDialogs&) = delete;
  XDialogs& operator=(const XDialogs&) = delete;
  ~XDialogs() override;

  // Makes the dialogs that need session: they show its pending list and post the user's answers
  // to its command queue. Called before the first event; the session outlives the dialogs.
  void Attach(Session& session);

  void Started() override;
  void SecondPassed() override;
  void PendingRequestsDue() override;
  void PendingRequestsChanged() override;
  void AnswerCarriedOut() override;
  void ConfirmationWanted(const ActionRequest& request) override;
  void PreviewWanted(const ActionRequest* request) override;
  void QuietModeBegan(DateTime startTime, DateTime endTime) override;
  void QuietModeEnded() override;
  void MessageArrived(const MessageRequest& message, MessageButton button,
                      MessageStacking stacking) override;
  void MessageRemoved(std::uint64_t id) override;

 private:
  // The action request dialog reads whether the confirmation or the preview is open, so those
  // two are made before it and go after it.
  std::unique_ptr<HiddenWindow> hiddenWindow_;
  std::unique_ptr<ConfirmationDialog> confirmation_;
  std::unique_ptr<ActionDetailsDialog> details_;
  std::unique_ptr<ActionRequestDialog> actionRequests_;
  std::unique_ptr<QuietModeNotice> quietModeNotice_;
  std::unique_ptr<MessageDialog> messages_;
};
