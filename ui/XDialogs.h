// The session's view with the program's windows behind it: what main makes and attaches to the
// one Session before it hands over to the toolkit. It turns the core's events into what each
// dialog does.
#pragma once

#include "core/SessionView.h"

#include <memory>

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

  // The session whose pending list the dialogs show and where their answers go; before the
  // first event. The session outlives the dialogs.
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
  Session* session_ = nullptr;
  std::unique_ptr<HiddenWindow> hiddenWindow_;
  std::unique_ptr<QuietModeNotice> quietModeNotice_;
  std::unique_ptr<MessageDialog> messages_;
};
