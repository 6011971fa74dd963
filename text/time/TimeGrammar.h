// The grammar of date-time texts ("Tue, 05 Mar 2024 07:08:09 +0100"): its symbols, its fifteen
// rules with the semantic action each one runs when it is reduced, and the shift-reduce tables
// built from them once, on first use.
#pragma once

#include "text/time/ShiftReduceTable.h"

#include <cstddef>

enum TimeGrammarSymbol : int {
  // Terminals. The first two and ZONE and MIL are the reserved words' TimeParsingAction codes.
  kDaySymbol = 0,
  kMonthSymbol = 1,
  kNumeral1Symbol = 2,  // N1 to N4: numerals of one to four digits
  kNumeral2Symbol = 3,
  kNumeral3Symbol = 4,
  kNumeral4Symbol = 5,
  kZoneSymbol = 6,
  kMilitarySymbol = 7,
  kCommaSymbol = 8,
  kColonSymbol = 9,
  kPlusSymbol = 10,
  kMinusSymbol = 11,
  // Nonterminals.
  kYearSymbol = 12,
  kDateSymbol = 13,
  kDatePartSymbol = 14,
  kHourMinuteSymbol = 15,
  kTimeSymbol = 16,
  kStartSymbol = 17,
  // The end of the text, which the top rules end with.
  kEndSymbol = 18,
  kTimeSymbolCount = 19,
};

enum class TimeRuleAction {
  kNone,
  kYear,
  kDate,
  kCheckDayOfWeek,
  kTimeWithSeconds,
  kTimeWithoutSeconds,
  kZoneFromSeconds,
  kZoneFromPlusDigits,
  kZoneFromMinusDigits,
};

// The action of rule `rule` of the tables' grammar.
[[nodiscard]] TimeRuleAction TimeRuleActionOf(std::size_t rule) noexcept;
// Built on the first call, by whichever thread comes first; shared and read-only afterwards.
[[nodiscard]] const ShiftReduceTable& TimeGrammarTable();
