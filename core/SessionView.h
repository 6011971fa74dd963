// What the session core tells the dialogs: the one seam between the core's decisions and the
// windows. Each call is an event (what happened, what the user must see); the X side decides how
// to redraw. The X layer implements it (XDialogs, made by main); tests record the events.
#pragma once

#include "core/ActionRequest.h"
#include "core/IncomingMessages.h"
#include "text/time/DateTime.h"

#include <cstdint>

// Whether a running-action message window offers its button, and whether it asks to stay on top.
enum class MessageButton { kShown, kHidden };
enum class MessageStacking { kNormal, kTopmost };

class SessionView {
 public:
  virtual ~SessionView() = default;

  // The session has been initialised; the first tick after start-up says so, once.
  virtual void Started() = 0;
  // One second has passed: message windows whose Timeout is over go.
  virtual void SecondPassed() = 0;

  // The user must see the pending requests: new ones arrived, the reminder time passed, or the
  // user asked for them. The dialog opens when it is closed.
  virtual void PendingRequestsDue() = 0;
  // The pending list changed since the dialog last showed it; said at most once per pass.
  virtual void PendingRequestsChanged() = 0;
  // An answer the action request dialog posted has been carried out (or came to nothing): the
  // dialog may take the next one, unless a confirmation or the preview is open.
  virtual void AnswerCarriedOut() = 0;
  // A take needs the user to accept this pending record's PreActionMessage; the answer names the
  // record by its arrival number.
  virtual void ConfirmationWanted(const ActionRequest& request) = 0;
  // The user asked for the Preview of this pending record; null when it is no longer pending.
  virtual void PreviewWanted(const ActionRequest* request) = 0;

  virtual void QuietModeBegan(DateTime startTime, DateTime endTime) = 0;
  virtual void QuietModeEnded() = 0;

  // One window per message ID; a known ID updates its window in place.
  virtual void MessageArrived(const MessageRequest& message, MessageButton button,
                              MessageStacking stacking) = 0;
  virtual void MessageRemoved(std::uint64_t id) = 0;
};
