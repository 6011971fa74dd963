#include "core/UICommandProcessor.h"

#include "core/OutgoingMessages.h"
#include "core/Session.h"
#include "text/time/Clock.h"

#include <algorithm>

namespace {

void SendTaken(std::uint64_t id, Answer answer) {
  SendActionTaken(id, answer, Offer::kNo, UString8(kClientUIOriginator));
}

// The first pending request that arrived after `arrival` and needs a confirmation.
PendingRequestList::iterator NextToConfirm(PendingRequestList& pending, std::uint64_t arrival) {
  return std::find_if(pending.begin(), pending.end(), [arrival](const ActionRequest& request) {
    return request.arrival > arrival && request.preActionMessage.has_value();
  });
}

void TakeAllPending(Session& session) {
  PendingRequestList& pending = session.state.pendingRequests;
  for (const ActionRequest& request : pending) SendTaken(request.id, Answer::kTake);
  pending.clear();
  session.view.PendingRequestsChanged();
  session.view.AnswerCarriedOut();
}

// Asks for the next confirmation of the sequence, or takes everything when none is left.
void ContinueTakeAll(Session& session) {
  TakeAllSequence& sequence = session.takeAll;
  PendingRequestList& pending = session.state.pendingRequests;
  const PendingRequestList::iterator next = NextToConfirm(pending, sequence.cursor);
  if (next == pending.end()) {
    sequence.inProgress = false;
    TakeAllPending(session);
    return;
  }
  sequence.inProgress = true;
  sequence.cursor = next->arrival;
  session.view.ConfirmationWanted(*next);
}

// Sends the answer, removes the request and shows the list without it.
void AnswerOne(Session& session, PendingRequestList::iterator request, Answer answer) {
  SendTaken(request->id, answer);
  session.state.pendingRequests.erase(request);
  session.view.PendingRequestsChanged();
}

// An answer about one request acts on the record the user chose, found by its arrival number;
// other records of the same ID are not it.
void CancelAction(Session& session, std::uint64_t arrival) {
  const auto request = session.state.FindPendingArrival(arrival);
  if (request != session.state.pendingRequests.end()) AnswerOne(session, request, Answer::kCancel);
  session.view.AnswerCarriedOut();
}

void TakeAction(Session& session, std::uint64_t arrival) {
  const auto request = session.state.FindPendingArrival(arrival);
  if (request != session.state.pendingRequests.end()) {
    // The action request dialog stays disabled until the user has answered the confirmation.
    if (request->preActionMessage) {
      session.view.ConfirmationWanted(*request);
      return;
    }
    AnswerOne(session, request, Answer::kTake);
  }
  session.view.AnswerCarriedOut();
}

void Snooze(SessionState& state, const UICommand& command) {
  if (state.pendingRequests.empty()) return;
  const TimeInterval choice = TimeInterval::Minutes(command.minutes);
  // "Before deadline" choices count back from the earliest deadline the dialog showed.
  const DateTime from =
      command.minutes > 0 ? Now() : DateTime::FromUnixSeconds(command.deadlineSeconds);
  state.nextReminderTime = from + choice;
  SendRemindTime(state.nextReminderTime, std::nullopt);
  state.remindInterval = choice;
  SendRemindInterval(state.remindInterval, std::nullopt);
}

void ConfirmationAccepted(Session& session, std::uint64_t arrival) {
  TakeAllSequence& sequence = session.takeAll;
  // Only the consent the sequence asked for moves it on.
  if (sequence.inProgress && arrival == sequence.cursor) {
    ContinueTakeAll(session);
    return;
  }
  sequence.inProgress = false;
  const auto request = session.state.FindPendingArrival(arrival);
  if (request != session.state.pendingRequests.end()) AnswerOne(session, request, Answer::kTake);
  session.view.AnswerCarriedOut();
}

void Handle(Session& session, const UICommand& command) {
  switch (command.kind) {
    case UICommandKind::kTakeAllActions:
      session.takeAll = TakeAllSequence{};
      ContinueTakeAll(session);
      break;
    case UICommandKind::kShowActionDetails: {
      const auto request = session.state.FindPendingArrival(command.arrival);
      const bool pending = request != session.state.pendingRequests.end();
      session.view.PreviewWanted(pending ? &*request : nullptr);
      break;
    }
    case UICommandKind::kActionDetailsClosed:
    case UICommandKind::kQuietModeNoticeClosed:
      session.view.AnswerCarriedOut();
      break;
    case UICommandKind::kCancelAction:
      CancelAction(session, command.arrival);
      break;
    case UICommandKind::kTakeAction:
      TakeAction(session, command.arrival);
      break;
    case UICommandKind::kSnooze:
      Snooze(session.state, command);
      break;
    case UICommandKind::kConfirmationAccepted:
      ConfirmationAccepted(session, command.arrival);
      break;
    case UICommandKind::kConfirmationRefused:
      // Nothing of a take-all sequence has been sent yet, and nothing will be.
      session.takeAll.inProgress = false;
      session.view.AnswerCarriedOut();
      break;
    case UICommandKind::kOpenActionRequestDialog:
      session.view.PendingRequestsDue();
      break;
  }
}

}  // namespace

void ProcessUICommands(Session& session) {
  for (const UICommand& command : session.commands.TakeAll()) {
    try {
      Handle(session, command);
    } catch (...) {
      // One answer that fails must not lose the ones the user gave after it.
    }
  }
}
