// The session variables that the dispatcher fills from the client's messages and the timer and
// the dialogs read. Touched only on the main thread, so nothing here is locked.
#pragma once

#include "core/ActionRequest.h"
#include "core/IncomingMessages.h"
#include "core/MessageQueue.h"
#include "core/SessionView.h"
#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"

#include <cstdint>
#include <list>
#include <vector>

// A MessageRequest that came before the dialogs could exist, with how its window is to look.
struct OwedMessage {
  MessageRequest message;
  MessageButton button;
  MessageStacking stacking;
};

struct SessionState {
  // The client's InitializationInfo has been applied; start-up waits for it.
  bool initialized = false;
  // Between QuietModeStart and QuietModeEnd; forced runs wait while it is set.
  bool quietMode = false;
  PendingRequestList pendingRequests;
  // The snooze interval the action request dialog offers; negative for "before deadline".
  TimeInterval remindInterval;
  // The timer reopens the action request dialog once the clock has passed this. The epoch until
  // a snooze or the client's RemindTime sets it: a request is due at once.
  DateTime nextReminderTime;
  bool allowSnooze = true;
  bool persistRunningMessage = false;
  bool topmostRunningMessage = false;
  // A locale other than C or POSIX was selected; localeName is its name without the codeset.
  bool localeInUse = false;
  UString8 localeName;
  // The client-given folder, as the client wrote its path.
  UString8 baseDirectory;
  // The texts that followed InitializationInfo in its batch, applied by the next dispatch.
  MessageList stashedMessages;
  // An ActionRequest arrived before the dialogs could exist; the first tick after start-up
  // opens the dialog for it.
  bool actionRequestDialogOwed = false;
  // The same for MessageRequests: the latest of each ID, in arrival order.
  std::vector<OwedMessage> owedMessages;
  // The arrival number the next pending record gets.
  std::uint64_t nextArrival = 1;

  // Appends a copy of the request, numbered after every record already in the list.
  void AppendPendingRequest(const ActionRequest& request);
  // The pending record with this arrival number, or the list's end: what an answer about the
  // record the user chose acts on, whatever other records share its ID.
  [[nodiscard]] PendingRequestList::iterator FindPendingArrival(std::uint64_t arrival);
  [[nodiscard]] PendingRequestList::const_iterator FindPendingArrival(std::uint64_t arrival) const;
  // Removes the first pending record with this ID; false when there is none.
  bool RemovePendingRequest(std::uint64_t id);
};
