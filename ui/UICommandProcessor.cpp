#include "ui/UICommandProcessor.h"

#include "core/DialogOperations.h"
#include "core/OutgoingMessages.h"
#include "core/SessionState.h"
#include "text/time/Clock.h"
#include "ui/UICommand.h"

#include <algorithm>

TakeAllSequence takeAllSequence;

namespace {

constexpr TimeInterval kMicrosecondsPerMinute = 60 * kMicrosecondsPerSecond;

void SendTaken(std::uint64_t id, bool isCancel) {
  SendActionTaken(id, isCancel, false, UString8(kClientUIOriginator));
}

// The first pending request that arrived after `arrival` and needs a confirmation.
PendingRequestList::iterator NextToConfirm(std::uint64_t arrival) {
  PendingRequestList& pending = sessionState.pendingRequests;
  return std::find_if(pending.begin(), pending.end(), [arrival](const ActionRequest& request) {
    return request.arrival > arrival && request.preActionMessage.has_value();
  });
}

void TakeAllPending() {
  for (const ActionRequest& request : sessionState.pendingRequests) SendTaken(request.id, false);
  sessionState.pendingRequests.clear();
  Dialogs().RefreshActionRequestDialog();
  Dialogs().EnableActionRequestDialog();
}

// Asks for the next confirmation of the sequence, or takes everything when none is left.
void ContinueTakeAll() {
  const PendingRequestList::iterator next = NextToConfirm(takeAllSequence.cursor);
  if (next == sessionState.pendingRequests.end()) {
    takeAllSequence.inProgress = false;
    TakeAllPending();
    return;
  }
  takeAllSequence.inProgress = true;
  takeAllSequence.cursor = next->arrival;
  Dialogs().OpenConfirmationDialog(*next);
}

// Sends the take, removes the request and shows the list without it.
void TakeOne(PendingRequestList::iterator request) {
  SendTaken(request->id, false);
  sessionState.pendingRequests.erase(request);
  Dialogs().RefreshActionRequestDialog();
}

// An answer about one request acts on the record the user chose, found by its arrival number;
// other records of the same ID are not it.
void CancelAction(std::uint64_t arrival) {
  const PendingRequestList::iterator request = FindPendingArrival(arrival);
  if (request != sessionState.pendingRequests.end()) {
    SendTaken(request->id, true);
    sessionState.pendingRequests.erase(request);
    Dialogs().RefreshActionRequestDialog();
  }
  Dialogs().EnableActionRequestDialog();
}

void TakeAction(std::uint64_t arrival) {
  const PendingRequestList::iterator request = FindPendingArrival(arrival);
  if (request != sessionState.pendingRequests.end()) {
    // The action request dialog stays disabled until the user has answered the confirmation.
    if (request->preActionMessage) {
      Dialogs().OpenConfirmationDialog(*request);
      return;
    }
    TakeOne(request);
  }
  Dialogs().EnableActionRequestDialog();
}

void Snooze(const UICommand& command) {
  if (sessionState.pendingRequests.empty()) return;
  const TimeInterval choice = command.minutes * kMicrosecondsPerMinute;
  // "Before deadline" choices count back from the earliest deadline the dialog showed.
  const DateTime from =
      command.minutes > 0 ? Now() : command.deadlineSeconds * kMicrosecondsPerSecond;
  sessionState.nextReminderTime = from + choice;
  SendRemindTime(sessionState.nextReminderTime, std::nullopt);
  sessionState.remindInterval = choice;
  SendRemindInterval(sessionState.remindInterval, std::nullopt);
}

void ConfirmationAccepted(std::uint64_t arrival) {
  // Only the consent the sequence asked for moves it on.
  if (takeAllSequence.inProgress && arrival == takeAllSequence.cursor) {
    ContinueTakeAll();
    return;
  }
  takeAllSequence.inProgress = false;
  const PendingRequestList::iterator request = FindPendingArrival(arrival);
  if (request != sessionState.pendingRequests.end()) TakeOne(request);
  Dialogs().EnableActionRequestDialog();
}

void Handle(const UICommand& command) {
  switch (command.kind) {
    case kTakeAllActions:
      takeAllSequence = TakeAllSequence{};
      ContinueTakeAll();
      break;
    case kShowActionDetails: {
      const PendingRequestList::iterator request = FindPendingArrival(command.arrival);
      const bool pending = request != sessionState.pendingRequests.end();
      Dialogs().OpenActionDetailsDialog(pending ? &*request : nullptr);
      break;
    }
    case kActionDetailsClosed:
    case kQuietModeNoticeClosed:
      Dialogs().EnableActionRequestDialog();
      break;
    case kCancelAction:
      CancelAction(command.arrival);
      break;
    case kTakeAction:
      TakeAction(command.arrival);
      break;
    case kSnooze:
      Snooze(command);
      break;
    case kConfirmationAccepted:
      ConfirmationAccepted(command.arrival);
      break;
    case kConfirmationRefused:
      // Nothing of a take-all sequence has been sent yet, and nothing will be.
      takeAllSequence.inProgress = false;
      Dialogs().EnableActionRequestDialog();
      break;
    case kOpenActionRequestDialog:
      Dialogs().OpenActionRequestDialog(sessionState.remindInterval, sessionState.allowSnooze);
      break;
    default:
      break;
  }
}

}  // namespace

void ProcessUICommands() {
  UICommandList commands = TakeUICommands();
  for (const std::unique_ptr<UICommand>& command : commands) {
    try {
      Handle(*command);
    } catch (...) {
      // One answer that fails must not lose the ones the user gave after it.
    }
  }
}
