#include "core/UICommand.h"

#include <algorithm>

void UICommandQueue::Post(const UICommand& command) {
  PlainLock::Guard guard(lock_);
  commands_.push_back(command);
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
      case kTakeAllActions:
      case kShowActionDetails:
      case kCancelAction:
      case kTakeAction:
        return true;
      default:
        return false;
    }
  });
}
