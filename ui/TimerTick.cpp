#include "ui/TimerTick.h"

#include "core/ClientLink.h"
#include "core/DialogOperations.h"
#include "core/Dispatcher.h"
#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/SessionQueues.h"
#include "core/SessionState.h"
#include "text/time/Clock.h"
#include "ui/UICommandProcessor.h"

namespace {

// Inside this horizon the countdown texts change every second, so the dialog is refreshed.
constexpr TimeInterval kForcedRunHorizon = 300 * kMicrosecondsPerSecond;

bool hiddenWindowCreated = false;

void OpenActionRequestDialog() {
  Dialogs().OpenActionRequestDialog(sessionState.remindInterval, sessionState.allowSnooze);
}

// Takes every forced request whose deadline has passed; true when the dialog needs a refresh.
bool RunForcedRequests() {
  const DateTime now = Now();
  const DateTime horizon = now + kForcedRunHorizon;
  bool refresh = false;
  PendingRequestList& pending = sessionState.pendingRequests;
  for (auto request = pending.begin(); request != pending.end();) {
    if (!request->forceRun || !request->deadline) {
      ++request;
    } else if (*request->deadline >= now) {
      if (*request->deadline < horizon) refresh = true;
      ++request;
    } else {
      SendActionTaken(request->id, false, false, UString8(kClientUIOriginator));
      request = pending.erase(request);
      refresh = true;
    }
  }
  return refresh;
}

}  // namespace

void TimerTick(HiddenWindowCreator createHiddenWindow) {
  if (clientLink != nullptr && clientLink->IsClosed()) ExitApplication(0, "CLOSED");
  ProcessClientMessages();
  ProcessUICommands();
  if (!sessionState.initialized) return;
  if (!hiddenWindowCreated) {
    hiddenWindowCreated = true;
    if (createHiddenWindow != nullptr) createHiddenWindow();
  }
  if (sessionState.actionRequestDialogOwed) {
    sessionState.actionRequestDialogOwed = false;
    if (!sessionState.pendingRequests.empty()) OpenActionRequestDialog();
  }
  if (Now() > sessionState.nextReminderTime && !sessionState.pendingRequests.empty()) {
    OpenActionRequestDialog();
  }
  Dialogs().ExpireMessageDialogs();
  if (sessionState.quietMode) return;
  if (RunForcedRequests()) Dialogs().RefreshActionRequestDialog();
}

void ResetTimerTick() noexcept { hiddenWindowCreated = false; }
