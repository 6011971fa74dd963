#include "ui/UICommand.h"

#include "foundation/platform/PlainLock.h"

namespace {

// Built before main and never destroyed, like the message queues.
struct UICommandQueue {
  PlainLock lock;
  UICommandList commands;
};

UICommandQueue& uiCommandQueue = *new UICommandQueue;

}  // namespace

void PostUICommand(std::uint32_t kind, std::uint64_t id, std::uint64_t arrival,
                   std::int32_t minutes, std::uint32_t deadlineSeconds) {
  auto command = std::make_unique<UICommand>(kind, id, arrival, minutes, deadlineSeconds);
  PlainLock::Guard guard(uiCommandQueue.lock);
  uiCommandQueue.commands.push_back(std::move(command));
}

UICommandList TakeUICommands() {
  UICommandList taken;
  PlainLock::Guard guard(uiCommandQueue.lock);
  taken.swap(uiCommandQueue.commands);
  return taken;
}

bool AnswerAwaitsTick() {
  PlainLock::Guard guard(uiCommandQueue.lock);
  for (const std::unique_ptr<UICommand>& command : uiCommandQueue.commands) {
    switch (command->kind) {
      case kTakeAllActions:
      case kShowActionDetails:
      case kCancelAction:
      case kTakeAction:
        return true;
      default:
        break;
    }
  }
  return false;
}
