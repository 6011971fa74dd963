// Reads a mail-header date-time ("Tue, 05 Mar 2024 07:08:09 +0100") into a ZonedDateTime:
// TimeLexer cuts the text into lexemes, TimeParser turns them into grammar symbols and values
// and drives the shift-reduce machine of the time grammar, whose reductions run the actions
// of a TimeAutomaton.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "text/time/ShiftReduceMachine.h"
#include "text/time/TimeAutomaton.h"
#include "text/time/TimeLexemes.h"

class TimeParser : public TimeLexemeAcceptor, private ShiftReduceMachine::Reducer {
 public:
  TimeParser();

  // Ready for the lexemes of a new text.
  void Reset();
  // ParsingFailure for a lexeme that cannot stand where it is.
  void AcceptReservedWord(const ReservedWordLexeme<TimeParsingAction>& lexeme) override;
  void AcceptNumeral(const TimeNumeralLexeme& lexeme) override;
  void AcceptCharacter(const CharacterLexeme& lexeme) override;
  // ParsingFailure when the text ended early.
  void AcceptEnd(const EndLexeme& lexeme) override;

  // After the end: the date-time read, or NoSuchDate, NoSuchTimeOfDay, WrongDayOfWeek or
  // NoTimeZone, checked in that order. ParsingFailure before the end.
  [[nodiscard]] ZonedDateTime Result() const;

 private:
  void Reduce(std::size_t rule) override;
  // Shifts the symbol, then pushes its value.
  void Shift(int symbol);

  TimeAutomaton semantics_;
  ShiftReduceMachine machine_;
  bool ended_ = false;
};

// Throws ParsingFailure, StackFull or one of the InvalidTime exceptions.
[[nodiscard]] ZonedDateTime ParseZonedDateTime(const char* begin, const char* end);
[[nodiscard]] ZonedDateTime ParseZonedDateTime(const UString8& text);
