#include "text/time/ShiftReduceMachine.h"

ShiftReduceMachine::ShiftReduceMachine(const ShiftReduceTable& table) : table_(table) { Reset(); }

void ShiftReduceMachine::Reset() {
  states_.clear();
  states_.push_back(0);
}

ShiftReduceTable::Action ShiftReduceMachine::ReduceFor(int lookahead, Reducer& reducer) {
  using Kind = ShiftReduceTable::ActionKind;
  for (;;) {
    if (states_.empty()) return ShiftReduceTable::Action{Kind::kError, 0};
    const ShiftReduceTable::Action action = table_.ActionFor(states_.back(), lookahead);
    if (action.kind != Kind::kReduce) return action;
    const GrammarRule& rule = table_.Rule(action.target);
    states_.resize(states_.size() - rule.right.size());
    reducer.Reduce(action.target);
    states_.push_back(table_.GoTo(states_.back(), rule.left));
  }
}

bool ShiftReduceMachine::Shift(int terminal, Reducer& reducer) {
  if (terminal == table_.EndOfInput()) return false;
  const ShiftReduceTable::Action action = ReduceFor(terminal, reducer);
  if (action.kind != ShiftReduceTable::ActionKind::kShift) {
    states_.clear();
    return false;
  }
  states_.push_back(action.target);
  return true;
}

bool ShiftReduceMachine::Finish(Reducer& reducer) {
  const bool accepted =
      ReduceFor(table_.EndOfInput(), reducer).kind == ShiftReduceTable::ActionKind::kAccept;
  states_.clear();
  return accepted;
}
