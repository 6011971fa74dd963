#include "text/time/ShiftReduceMachine.h"

ShiftReduceMachine::ShiftReduceMachine(const ShiftReduceTable& table) : table_(table) { Reset(); }

void ShiftReduceMachine::Reset() {
  depth_ = 0;
  Push(0);
}

void ShiftReduceMachine::Grow() {
  if (states_ == inline_) heap_.assign(inline_, inline_ + depth_);
  heap_.resize(capacity_ * 2);
  states_ = heap_.data();
  capacity_ = heap_.size();
}

ShiftReduceTable::Action ShiftReduceMachine::ReduceFor(int lookahead, Reducer& reducer) {
  using Kind = ShiftReduceTable::ActionKind;
  for (;;) {
    if (depth_ == 0) return ShiftReduceTable::Action{Kind::kError, 0};
    const ShiftReduceTable::Action action = table_.ActionFor(states_[depth_ - 1], lookahead);
    if (action.kind != Kind::kReduce) return action;
    const GrammarRule& rule = table_.Rule(action.target);
    depth_ -= rule.right.size();
    reducer.Reduce(action.target);
    Push(table_.GoTo(states_[depth_ - 1], rule.left));
  }
}

bool ShiftReduceMachine::Shift(int terminal, Reducer& reducer) {
  if (terminal == table_.EndOfInput()) return false;
  const ShiftReduceTable::Action action = ReduceFor(terminal, reducer);
  if (action.kind != ShiftReduceTable::ActionKind::kShift) {
    depth_ = 0;
    return false;
  }
  Push(action.target);
  return true;
}

bool ShiftReduceMachine::Finish(Reducer& reducer) {
  const bool accepted =
      ReduceFor(table_.EndOfInput(), reducer).kind == ShiftReduceTable::ActionKind::kAccept;
  depth_ = 0;
  return accepted;
}
