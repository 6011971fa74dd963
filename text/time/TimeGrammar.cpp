#include "text/time/TimeGrammar.h"

#include <iterator>
#include <vector>

namespace {

struct TimeRule {
  GrammarRule rule;
  TimeRuleAction action;
};

using A = TimeRuleAction;

const TimeRule kRules[] = {
    {{kYearSymbol, {kMonthSymbol, kNumeral4Symbol}}, A::kNone},
    {{kYearSymbol, {kMonthSymbol, kNumeral3Symbol}}, A::kNone},
    {{kYearSymbol, {kMonthSymbol, kNumeral2Symbol}}, A::kYear},
    {{kDateSymbol, {kNumeral1Symbol, kYearSymbol}}, A::kDate},
    {{kDateSymbol, {kNumeral2Symbol, kYearSymbol}}, A::kDate},
    {{kDatePartSymbol, {kDaySymbol, kCommaSymbol, kDateSymbol}}, A::kCheckDayOfWeek},
    {{kDatePartSymbol, {kDateSymbol}}, A::kNone},
    {{kHourMinuteSymbol, {kNumeral2Symbol, kColonSymbol, kNumeral2Symbol}}, A::kNone},
    {{kTimeSymbol, {kHourMinuteSymbol, kColonSymbol, kNumeral2Symbol}}, A::kTimeWithSeconds},
    {{kTimeSymbol, {kHourMinuteSymbol}}, A::kTimeWithoutSeconds},
    {{kStartSymbol, {kDatePartSymbol, kTimeSymbol, kPlusSymbol, kNumeral4Symbol, kEndSymbol}},
     A::kZoneFromPlusDigits},
    {{kStartSymbol, {kDatePartSymbol, kTimeSymbol, kMinusSymbol, kNumeral4Symbol, kEndSymbol}},
     A::kZoneFromMinusDigits},
    {{kStartSymbol, {kDatePartSymbol, kTimeSymbol, kZoneSymbol, kEndSymbol}}, A::kZoneFromSeconds},
    // A military letter's value is left on the stack: such letters were too often given with
    // the wrong sign to be trusted, so the text counts as having no zone.
    {{kStartSymbol, {kDatePartSymbol, kTimeSymbol, kMilitarySymbol, kEndSymbol}}, A::kNone},
    {{kStartSymbol, {kDatePartSymbol, kTimeSymbol, kEndSymbol}}, A::kNone},
};

ShiftReduceTable BuildTable() {
  std::vector<GrammarRule> rules;
  for (const TimeRule& rule : kRules) rules.push_back(rule.rule);
  return ShiftReduceTable(kTimeSymbolCount, std::move(rules), kStartSymbol);
}

}  // namespace

TimeRuleAction TimeRuleActionOf(std::size_t rule) noexcept {
  return rule < std::size(kRules) ? kRules[rule].action : TimeRuleAction::kNone;
}

const ShiftReduceTable& TimeGrammarTable() {
  static const ShiftReduceTable table = BuildTable();
  return table;
}
