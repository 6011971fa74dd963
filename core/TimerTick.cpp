#include "core/TimerTick.h"

#include "core/ClientLink.h"
#include "core/Dispatcher.h"
#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/Session.h"
#include "core/UICommandProcessor.h"
#include "text/time/Clock.h"

namespace {

// Takes every forced request whose deadline has passed; true when the list needs redrawing.
bool RunForcedRequests(PendingRequestList& pending) {
  const DateTime now = Now();
  // Inside the warning period the countdown texts change every second: the list is redrawn.
  const DateTime horizon = now + kDeadlineWarningPeriod;
  bool redraw = false;
  for (auto request = pending.begin(); request != pending.end();) {
    if (!request->forceRun || !request->deadline) {
      ++request;
    } else if (*request->deadline >= now) {
      if (*request->deadline < horizon) redraw = true;
      ++request;
    } else {
      SendActionTaken(request->id, Answer::kTake, Offer::kNo, UString8(kClientUIOriginator));
      request = pending.erase(request);
      redraw = true;
    }
  }
  return redraw;
}

}  // namespace

void TimerTick(Session& session) {
  if (session.link != nullptr && session.link->IsClosed()) ExitApplication(0, "CLOSED");
  ProcessClientMessages(session);
  ProcessUICommands(session);
  SessionState& state = session.state;
  if (!state.initialized) return;
  if (!session.started) {
    session.started = true;
    session.view.Started();
  }
  if (state.actionRequestDialogOwed) {
    state.actionRequestDialogOwed = false;
    if (!state.pendingRequests.empty()) session.view.PendingRequestsDue();
  }
  if (Now() > state.nextReminderTime && !state.pendingRequests.empty()) {
    session.view.PendingRequestsDue();
  }
  session.view.SecondPassed();
  if (state.quietMode) return;
  if (RunForcedRequests(state.pendingRequests)) session.view.PendingRequestsChanged();
}
