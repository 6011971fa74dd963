// The user's answers on their way from a dialog callback to the next timer tick. Callbacks never
// talk to the client: they post a UICommand, and the tick carries it out (ProcessUICommands).
#pragma once

#include "foundation/platform/PlainLock.h"

#include <cstdint>
#include <vector>

class WorkSignal;

// The kinds, numbered as the dialogs post them.
enum class UICommandKind : std::uint32_t {
  kTakeAllActions = 0,
  kShowActionDetails = 1,
  kActionDetailsClosed = 2,
  kCancelAction = 3,
  kTakeAction = 4,
  kSnooze = 5,
  kConfirmationAccepted = 6,
  kConfirmationRefused = 7,
  kQuietModeNoticeClosed = 8,
  kOpenActionRequestDialog = 9,
};

struct UICommand {
  UICommandKind kind = UICommandKind::kTakeAllActions;
  // Which pending record the user chose (its arrival number), or 0: IDs may repeat.
  std::uint64_t arrival = 0;
  // Snooze only: the choice's minutes, negative for the "before deadline" choices.
  std::int32_t minutes = 0;
  // Snooze only: the earliest pending deadline in whole seconds since 1970, cut to 32 bits.
  std::uint32_t deadlineSeconds = 0;
};

// Posted by the dialogs' callbacks and taken by the tick, both on the main thread. The queue keeps
// its own lock, but its work signal (the toolkit's zero time-out) is main-thread only: a poster
// on another thread would need a signal that goes through the wake pipe.
class UICommandQueue {
 public:
  void Post(const UICommand& command);
  // Every posted command, oldest first, leaving the queue empty.
  [[nodiscard]] std::vector<UICommand> TakeAll() noexcept;
  // An answer from the action request dialog (take all, take, cancel, details) is posted and
  // not yet taken by the tick: the dialog must stay disabled until it has been carried out.
  [[nodiscard]] bool AnswerAwaitsTick() const noexcept;

  // Raised after every post, on the poster's thread, so that an answer is carried out at once;
  // null for none.
  void SetWorkSignal(WorkSignal* signal) noexcept;

 private:
  mutable PlainLock lock_;
  std::vector<UICommand> commands_;
  WorkSignal* signal_ = nullptr;
};
