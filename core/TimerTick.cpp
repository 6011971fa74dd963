#include "core/TimerTick.h"

#include "core/ClientLink.h"
#include "core/Dispatcher.h"
#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/Session.h"
#include "core/UICommandProcessor.h"
#include "text/time/Clock.h"

namespace {

struct ForcedRun {
  bool taken = false;      // a request left the list
  bool countdown = false;  // a forced deadline is inside the warning period
};

// Takes every forced request whose deadline has passed.
ForcedRun RunForcedRequests(PendingRequestList& pending) {
  const DateTime now = Now();
  const DateTime horizon = now + kDeadlineWarningPeriod;
  ForcedRun run;
  for (auto request = pending.begin(); request != pending.end();) {
    if (!request->forceRun || !request->deadline) {
      ++request;
    } else if (*request->deadline >= now) {
      if (*request->deadline < horizon) run.countdown = true;
      ++request;
    } else {
      SendActionTaken(request->id, Answer::kTake, Offer::kNo, UString8(kClientUIOriginator));
      request = pending.erase(request);
      run.taken = true;
    }
  }
  return run;
}

// The first tick with the dialogs: the view hears that the session started, then the messages
// that came before it, before anything that came later can update their windows.
void Start(Session& session) {
  // A view that could not start is asked again at the next tick, the messages still waiting.
  session.view.Started();
  session.started = true;
  std::vector<OwedMessage> owed;
  owed.swap(session.state.owedMessages);
  for (const OwedMessage& entry : owed) {
    try {
      session.view.MessageArrived(entry.message, entry.button, entry.stacking);
    } catch (...) {
      // A text that cannot be shown drops its message, as it would have on arrival.
    }
  }
}

}  // namespace

void TimerTick(Session& session, TickCause cause) {
  if (session.link != nullptr && session.link->IsClosed()) ExitApplication(0, "CLOSED");
  SessionState& state = session.state;
  if (state.initialized && !session.started) Start(session);
  ProcessClientMessages(session);
  ProcessUICommands(session);
  if (!state.initialized) return;
  if (state.actionRequestDialogOwed) {
    state.actionRequestDialogOwed = false;
    if (!state.pendingRequests.empty()) session.view.PendingRequestsDue();
  }
  if (Now() > state.nextReminderTime && !state.pendingRequests.empty()) {
    session.view.PendingRequestsDue();
  }
  const bool second = cause == TickCause::kSecond;
  if (second) session.view.SecondPassed();
  if (state.quietMode) return;
  const ForcedRun run = RunForcedRequests(state.pendingRequests);
  // Inside the warning period the countdown texts change every second: the list is redrawn on
  // the clock's ticks, not at every answer in between.
  if (run.taken || (second && run.countdown)) session.view.PendingRequestsChanged();
}
