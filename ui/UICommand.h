// The user's answers on their way from a dialog callback to the next timer tick. Callbacks never
// talk to the client: they post a UICommand, and the tick carries it out (ProcessUICommands).
#pragma once

#include <cstdint>
#include <list>
#include <memory>

// The kinds, numbered as the dialogs post them.
enum UICommandKind : std::uint32_t {
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

class UICommand {
 public:
  UICommand(std::uint32_t commandKind, std::uint64_t requestId, std::uint64_t requestArrival,
            std::int32_t snoozeMinutes, std::uint32_t earliestDeadlineSeconds) noexcept
      : kind(commandKind),
        id(requestId),
        arrival(requestArrival),
        minutes(snoozeMinutes),
        deadlineSeconds(earliestDeadlineSeconds) {}
  virtual ~UICommand() = default;

  std::uint32_t kind;
  // The request concerned, or 0.
  std::uint64_t id;
  // Which record of that ID the user chose (its arrival number), or 0: IDs may repeat.
  std::uint64_t arrival;
  // Snooze only: the choice's minutes, negative for the "before deadline" choices.
  std::int32_t minutes;
  // Snooze only: the earliest pending deadline in whole seconds since 1970, cut to 32 bits.
  std::uint32_t deadlineSeconds;
};

using UICommandList = std::list<std::unique_ptr<UICommand>>;

// Appends a command under the queue's own lock; callable from any dialog callback.
void PostUICommand(std::uint32_t kind, std::uint64_t id, std::uint64_t arrival,
                   std::int32_t minutes, std::uint32_t deadlineSeconds);
// Every posted command, oldest first, leaving the queue empty.
[[nodiscard]] UICommandList TakeUICommands();
// An answer from the action request dialog (take all, take, cancel, details) is posted and not
// yet taken by the tick: the dialog must stay disabled until it has been carried out.
[[nodiscard]] bool AnswerAwaitsTick();
