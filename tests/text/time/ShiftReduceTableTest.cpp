// The SLR(1) construction on grammars other than the time grammar: the order of reductions on
// an expression grammar with precedence and left recursion, and the grammars it must refuse.
#include "text/time/ShiftReduceTable.h"

#include "text/time/ShiftReduceMachine.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Terminals.
enum : int { kNumber, kPlus, kTimes, kOpen, kClose, kExpression, kTerm, kFactor, kSymbolCount };

std::vector<GrammarRule> ExpressionRules() {
  return {
      {kExpression, {kExpression, kPlus, kTerm}},  // 0
      {kExpression, {kTerm}},                      // 1
      {kTerm, {kTerm, kTimes, kFactor}},           // 2
      {kTerm, {kFactor}},                          // 3
      {kFactor, {kOpen, kExpression, kClose}},     // 4
      {kFactor, {kNumber}},                        // 5
  };
}

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
    const int symbol = character == '+'   ? kPlus
                       : character == '*' ? kTimes
                       : character == '(' ? kOpen
                       : character == ')' ? kClose
                                          : kNumber;
    if (!machine.Shift(symbol, writer)) return "rejected";
    if (symbol == kNumber) writer.text += character;
  }
  return machine.Finish(writer) ? writer.text : "rejected";
}

TEST(ShiftReduceTable, ExpressionGrammarReducesWithPrecedenceAndLeftAssociativity) {
  const ShiftReduceTable table(kSymbolCount, ExpressionRules(), kExpression);
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

TEST(ShiftReduceTable, RefusesAmbiguousAndMalformedGrammars) {
  // E <- E + E | n: "n + n + n" can be grouped two ways.
  EXPECT_THROW(
      ShiftReduceTable(kSymbolCount,
                       {{kExpression, {kExpression, kPlus, kExpression}}, {kExpression, {kNumber}}},
                       kExpression),
      GrammarConflict);
  // Two rules reduce the same "n" to different symbols under the same lookahead.
  EXPECT_THROW(ShiftReduceTable(kSymbolCount,
                                {{kExpression, {kTerm}},
                                 {kExpression, {kFactor}},
                                 {kTerm, {kNumber}},
                                 {kFactor, {kNumber}}},
                                kExpression),
               GrammarConflict);
  EXPECT_THROW(
      ShiftReduceTable(kSymbolCount, {{kExpression, {kNumber, kSymbolCount}}}, kExpression),
      InvalidGrammar);
  EXPECT_THROW(ShiftReduceTable(kSymbolCount, {{kExpression, {kNumber}}}, kTerm), InvalidGrammar);
}

}  // namespace
