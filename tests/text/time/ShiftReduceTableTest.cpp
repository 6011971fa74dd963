// The SLR(1) construction on grammars other than the time grammar: the order of reductions on
// an expression grammar with precedence and left recursion, and the grammars it must refuse.
#include "text/time/ShiftReduceTable.h"

#include "text/time/ShiftReduceMachine.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Terminals, then nonterminals.
enum : int { kNumber, kPlus, kTimes, kOpen, kClose, kExpression, kTerm, kFactor, kSymbolCount };

// Writes the input in reverse Polish order: numbers as they are shifted, operators as their
// rules are reduced.
class PostfixWriter : public ShiftReduceMachine::Reducer {
 public:
  void Reduce(std::size_t rule) override {
    if (rule == 0) text += '+';
    if (rule == 2) text += '*';
  }
  std::string text;
};

// The postfix form of the text, or "rejected".
std::string Postfix(const ShiftReduceTable& table, const std::string& text) {
  ShiftReduceMachine machine(table);
  PostfixWriter writer;
  for (const char character : text) {
    const std::size_t mark = std::string("+*()").find(character);
    const int symbol = mark == std::string::npos ? kNumber : kPlus + static_cast<int>(mark);
    if (!machine.Shift(symbol, writer)) return "rejected";
    if (symbol == kNumber) writer.text += character;
  }
  return machine.Finish(writer) ? writer.text : "rejected";
}

// Rule 0 reduces a sum, rule 2 a product.
ShiftReduceTable ExpressionTable() {
  return ShiftReduceTable(kSymbolCount,
                          {{kExpression, {kExpression, kPlus, kTerm}},
                           {kExpression, {kTerm}},
                           {kTerm, {kTerm, kTimes, kFactor}},
                           {kTerm, {kFactor}},
                           {kFactor, {kOpen, kExpression, kClose}},
                           {kFactor, {kNumber}}},
                          kExpression);
}

std::string Nested(int depth, const std::string& inner) {
  return std::string(static_cast<std::size_t>(depth), '(') + inner +
         std::string(static_cast<std::size_t>(depth), ')');
}

TEST(ShiftReduceTable, ExpressionGrammarReducesWithPrecedenceAndLeftAssociativity) {
  const ShiftReduceTable table = ExpressionTable();
  struct Row {
    const char* text;
    const char* postfix;
  } const rows[] = {
      {"1", "1"},           {"1+2*3", "123*+"}, {"1*2+3", "12*3+"}, {"1+2+3", "12+3+"},
      {"(1+2)*3", "12+3*"}, {"", "rejected"},   {"1+", "rejected"}, {"(1", "rejected"},
      {"12", "rejected"},   {"()", "rejected"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Postfix(table, row.text), row.postfix);
  }
}

// Each open parenthesis stacks three states, so these stacks outgrow any small fixed depth.
TEST(ShiftReduceMachine, DeepStacksReadAsShallowOnes) {
  const ShiftReduceTable table = ExpressionTable();
  struct Row {
    std::string text;
    std::string postfix;
  } const rows[] = {
      {Nested(5, "1+2"), "12+"},
      {Nested(40, "1+2") + "*3", "12+3*"},
      {Nested(200, "1*" + Nested(100, "2+3")), "123+*"},
      {Nested(40, "1+2") + ")", "rejected"},
      {"(" + Nested(40, "1"), "rejected"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Postfix(table, row.text), row.postfix);
  }
}

TEST(ShiftReduceMachine, ResetAfterADeepInputStartsAfresh) {
  const ShiftReduceTable table = ExpressionTable();
  ShiftReduceMachine machine(table);
  PostfixWriter writer;
  for (int round = 0; round < 2; ++round) {
    for (int depth = 0; depth < 50; ++depth) ASSERT_TRUE(machine.Shift(kOpen, writer));
    machine.Reset();
    ASSERT_TRUE(machine.Shift(kNumber, writer));
    ASSERT_TRUE(machine.Shift(kPlus, writer));
    ASSERT_TRUE(machine.Shift(kNumber, writer));
    EXPECT_TRUE(machine.Finish(writer));
    machine.Reset();
  }
  EXPECT_EQ(writer.text, "++");
}

TEST(ShiftReduceTable, LookupsOutsideTheTableAreErrors) {
  const ShiftReduceTable table = ExpressionTable();
  const struct {
    std::size_t state;
    int lookahead;
  } rows[] = {
      {table.StateCount(), kNumber}, {table.StateCount() + 1000, kNumber},
      {~std::size_t{0}, kNumber},    {0, -1},
      {0, table.EndOfInput() + 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.state) + " " + std::to_string(row.lookahead));
    EXPECT_EQ(table.ActionFor(row.state, row.lookahead).kind, ShiftReduceTable::ActionKind::kError);
  }
  // The start state shifts a number.
  EXPECT_EQ(table.ActionFor(0, kNumber).kind, ShiftReduceTable::ActionKind::kShift);
}

TEST(ShiftReduceTable, RefusesAmbiguousAndMalformedGrammars) {
  const auto build = [](std::vector<GrammarRule> rules, int start = kExpression) {
    ShiftReduceTable(kSymbolCount, std::move(rules), start);
  };
  // E <- E + E | n groups "n + n + n" two ways; then two rules reduce the same "n" to different
  // symbols under the same lookahead.
  EXPECT_THROW(build({{kExpression, {kExpression, kPlus, kExpression}}, {kExpression, {kNumber}}}),
               GrammarConflict);
  EXPECT_THROW(build({{kExpression, {kTerm}},
                      {kExpression, {kFactor}},
                      {kTerm, {kNumber}},
                      {kFactor, {kNumber}}}),
               GrammarConflict);
  EXPECT_THROW(build({{kExpression, {kNumber, kSymbolCount}}}), InvalidGrammar);
  EXPECT_THROW(build({{kExpression, {kNumber}}}, kTerm), InvalidGrammar);
}

}  // namespace
