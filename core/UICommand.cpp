#include "core/UICommand.h"

#include "core/WorkSignal.h"

#include <algorithm>

void UICommandQueue::Post(const UICommand& command) {
  WorkSignal* signal;
  {
    PlainLock::Guard guard(lock_);
    commands_.push_back(command);
    signal = signal_;
  }
  if (signal != nullptr) signal->Raise();
}

void UICommandQueue::SetWorkSignal(WorkSignal* signal) noexcept {
  PlainLock::Guard guard(lock_);
  signal_ = signal;
}

std::vector<UICommand> UICommandQueue::TakeAll() noexcept {
  std::vector<UICommand> taken;
  PlainLock::Guard guard(lock_);
  taken.swap(commands_);
  return taken;
}

bool UICommandQueue::AnswerAwaitsTick() const noexcept {
  PlainLock::Guard guard(lock_);
  return std::any_of(commands_.begin(), commands_.end(), [](const UICommand& command) {
    switch (command.kind) {
      case UICommandKind::kTakeAllActions:
      case UICommandKind::kShowActionDetails:
      case UICommandKind::kCancelAction:
      case UICommandKind::kTakeAction:
        return true;
      case UICommandKind::kActionDetailsClosed:
      case UICommandKind::kSnooze:
      case UICommandKind::kConfirmationAccepted:
      case UICommandKind::kConfirmationRefused:
      case UICommandKind::kQuietModeNoticeClosed:
      case UICommandKind::kOpenActionRequestDialog:
        return false;
    }
    return false;  // a kind outside the list, which only a cast makes, answers nothing
  });
}
