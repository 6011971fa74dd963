#include "core/UICommand.h"

#include <algorithm>

std::vector<UICommand> UICommandQueue::TakeAll() noexcept {
  std::vector<UICommand> taken;
  taken.swap(commands_);
  return taken;
}

bool UICommandQueue::AnswerAwaitsTick() const noexcept {
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
