// The tables of a shift-reduce recogniser for a context-free grammar, built by the SLR(1)
// construction: LR(0) item sets (closure and goto) for the states, FOLLOW sets for the
// lookaheads of the reductions. A ShiftReduceMachine runs them; the time parser is their user.
#pragma once

#include "foundation/platform/DebuggableException.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A rule names a symbol outside the grammar, or the goal symbol heads no rule.
QVX_DECLARE_EXCEPTION(InvalidGrammar, DebuggableException,
                      "grammar with an unknown symbol or no rule for its goal");
// Two actions compete for one state and lookahead: the grammar is not SLR(1).
QVX_DECLARE_EXCEPTION(GrammarConflict, DebuggableException,
                      "grammar with two actions for one state and lookahead");

struct GrammarRule {
  int left;
  std::vector<int> right;
};

class ShiftReduceTable {
 public:
  enum class ActionKind : std::uint8_t { kError, kShift, kReduce, kAccept };
  struct Action {
    ActionKind kind;
    // The state to shift to, or the rule to reduce by.
    std::uint32_t target;
  };

  // Symbols are numbered 0 to symbolCount - 1; those that head a rule are the nonterminals, all
  // others terminals. The input is a sentence when it reduces to `goal`.
  ShiftReduceTable(int symbolCount, std::vector<GrammarRule> rules, int goal);

  // The lookahead that follows the last symbol of the input.
  [[nodiscard]] int EndOfInput() const noexcept { return symbolCount_; }
  [[nodiscard]] std::size_t StateCount() const noexcept { return stateCount_; }
  [[nodiscard]] const GrammarRule& Rule(std::size_t index) const { return rules_[index]; }
  // What to do in `state` with `lookahead` (a terminal or EndOfInput) next; kError for any
  // other symbol.
  [[nodiscard]] Action ActionFor(std::size_t state, int lookahead) const noexcept {
    if (state >= stateCount_ || lookahead < 0 || lookahead > symbolCount_)
      return Action{ActionKind::kError, 0};
    return actions_[state * static_cast<std::size_t>(symbolCount_ + 1) +
                    static_cast<std::size_t>(lookahead)];
  }
  // The state after a reduction to `nonterminal` uncovered `state`.
  [[nodiscard]] std::uint32_t GoTo(std::size_t state, int nonterminal) const noexcept {
    return gotos_[state * static_cast<std::size_t>(symbolCount_) +
                  static_cast<std::size_t>(nonterminal)];
  }

 private:
  class Builder;

  int symbolCount_;
  std::vector<GrammarRule> rules_;
  // Kept apart from the tables' sizes so that a lookup does not divide.
  std::size_t stateCount_ = 0;
  // Per state, one action for each terminal and EndOfInput.
  std::vector<Action> actions_;
  // Per state, one successor for each symbol; only those of nonterminals are read.
  std::vector<std::uint32_t> gotos_;
};
