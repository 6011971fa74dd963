#include "text/time/TimeParser.h"

#include "text/time/ParsingErrors.h"
#include "text/time/TimeErrors.h"
#include "text/time/TimeGrammar.h"
#include "text/time/TimeLexer.h"

TimeParser::TimeParser() : machine_(TimeGrammarTable()) { Reset(); }

void TimeParser::Reset() {
  semantics_.Reset();
  machine_.Reset();
  ended_ = false;
}

void TimeParser::Shift(int symbol) {
  // Lexemes after a rejected one or after the end are as wrong as the first.
  if (ended_ || !machine_.Shift(symbol, *this)) throw ParsingFailure();
}

void TimeParser::AcceptReservedWord(const ReservedWordLexeme<TimeParsingAction>& lexeme) {
  Shift(static_cast<int>(lexeme.word->action));
  semantics_.Push(lexeme.word->value);
}

void TimeParser::AcceptNumeral(const TimeNumeralLexeme& lexeme) {
  if (lexeme.digits < 1 || lexeme.digits > 4) throw ParsingFailure();
  Shift(kNumeral1Symbol + static_cast<int>(lexeme.digits) - 1);
  semantics_.Push(static_cast<std::int32_t>(lexeme.value));
}

void TimeParser::AcceptCharacter(const CharacterLexeme& lexeme) {
  switch (lexeme.character) {
    case ',':
      return Shift(kCommaSymbol);
    case ':':
      return Shift(kColonSymbol);
    case '+':
      return Shift(kPlusSymbol);
    case '-':
      return Shift(kMinusSymbol);
    default:
      throw ParsingFailure();
  }
}

void TimeParser::AcceptEnd(const EndLexeme&) {
  Shift(kEndSymbol);
  if (!machine_.Finish(*this)) throw ParsingFailure();
  ended_ = true;
}

void TimeParser::Reduce(std::size_t rule) {
  switch (TimeRuleActionOf(rule)) {
    case TimeRuleAction::kNone:
      return;
    case TimeRuleAction::kYear:
      return semantics_.TwoDigitYear();
    case TimeRuleAction::kDate:
      return semantics_.MakeDate();
    case TimeRuleAction::kCheckDayOfWeek:
      return semantics_.CheckDayOfWeek();
    case TimeRuleAction::kTimeWithSeconds:
      return semantics_.MakeTimeWithSeconds();
    case TimeRuleAction::kTimeWithoutSeconds:
      return semantics_.MakeTimeWithoutSeconds();
    case TimeRuleAction::kZoneFromSeconds:
      return semantics_.ZoneFromSeconds();
    case TimeRuleAction::kZoneFromPlusDigits:
      return semantics_.ZoneFromPlusDigits();
    case TimeRuleAction::kZoneFromMinusDigits:
      return semantics_.ZoneFromMinusDigits();
  }
}

ZonedDateTime TimeParser::Result() const {
  if (!ended_) throw ParsingFailure();
  if (!IsValidDate(semantics_.ResultDate())) throw NoSuchDate();
  if (!IsValidTimeOfDay(semantics_.ResultTime())) throw NoSuchTimeOfDay();
  if (!semantics_.DayOfWeekMatches()) throw WrongDayOfWeek();
  if (!semantics_.HasZone()) throw NoTimeZone();
  return ZonedDateTime{semantics_.ResultDate(), semantics_.ResultTime(), semantics_.OffsetSeconds(),
                       semantics_.OffsetMicroseconds()};
}

ZonedDateTime ParseZonedDateTime(const char* begin, const char* end) {
  TimeParser parser;
  TimeLexer lexer(parser);
  lexer.StartData(0);
  lexer.Receive(begin, end);
  lexer.EndData();
  return parser.Result();
}

ZonedDateTime ParseZonedDateTime(const UString8& text) {
  return ParseZonedDateTime(text.begin(), text.end());
}
