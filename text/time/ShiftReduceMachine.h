// Runs the tables of a ShiftReduceTable over a sequence of terminals handed in one at a time,
// telling a Reducer about each reduction as it happens, so that semantic actions can work in
// step with the input.
#pragma once

#include "text/time/ShiftReduceTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class ShiftReduceMachine {
 public:
  class Reducer {
   public:
    // The symbols of rule `rule` have just been replaced by its left side.
    virtual void Reduce(std::size_t rule) = 0;

   protected:
    ~Reducer() = default;
  };

  // The table is borrowed and must outlive the machine.
  explicit ShiftReduceMachine(const ShiftReduceTable& table);
  ShiftReduceMachine(const ShiftReduceMachine&) = delete;
  ShiftReduceMachine& operator=(const ShiftReduceMachine&) = delete;

  // Back to the start of a new input.
  void Reset();
  // Makes the reductions the terminal calls for, then shifts it. False when the terminal cannot
  // stand here; the input is then not a sentence, and the machine needs a Reset.
  [[nodiscard]] bool Shift(int terminal, Reducer& reducer);
  // The input is complete: true when it is a sentence of the grammar.
  [[nodiscard]] bool Finish(Reducer& reducer);

 private:
  // Reduces as long as the table says so for this lookahead; returns the action that stops it.
  ShiftReduceTable::Action ReduceFor(int lookahead, Reducer& reducer);
  void Push(std::uint32_t state) {
    if (depth_ == capacity_) Grow();
    states_[depth_++] = state;
  }
  void Grow();

  static constexpr std::size_t kInlineDepth = 16;

  const ShiftReduceTable& table_;
  // The state stack. It starts in the machine itself, deep enough for the time grammar, so that
  // a parse does not allocate; a deeper one moves to heap_.
  std::uint32_t inline_[kInlineDepth];
  std::vector<std::uint32_t> heap_;
  std::uint32_t* states_ = inline_;
  std::size_t capacity_ = kInlineDepth;
  std::size_t depth_ = 0;
};
