// The lexemes of date-time texts and the interfaces through which the time lexer hands them to
// the time parser. Blanks between lexemes are skipped by the lexer and never handed on.
#pragma once

#include "text/time/ReservedWord.h"

#include <cstdint>

// What a reserved word of a date-time text stands for; also its grammar symbol.
enum class TimeParsingAction : std::uint8_t {
  kDayName = 0,       // value 0 = Sunday ... 6 = Saturday
  kMonthName = 1,     // value 1 to 12
  kZoneName = 6,      // value: the offset in seconds east of UTC
  kMilitaryZone = 7,  // value: the offset in seconds; sets no zone
};

// A run of one or more digits: its value and how many digits it had (at most four).
struct TimeNumeralLexeme {
  std::uint32_t position;
  std::uint32_t value;
  std::uint32_t digits;
};

// A byte that is neither a blank, a digit nor a letter.
struct CharacterLexeme {
  std::uint32_t position;
  char character;
};

struct EndLexeme {
  std::uint32_t position;
};

class TimeNumeralLexemeAcceptor {
 public:
  virtual void AcceptNumeral(const TimeNumeralLexeme& lexeme) = 0;

 protected:
  ~TimeNumeralLexemeAcceptor() = default;
};

class CharacterLexemeAcceptor {
 public:
  virtual void AcceptCharacter(const CharacterLexeme& lexeme) = 0;

 protected:
  ~CharacterLexemeAcceptor() = default;
};

class EndLexemeAcceptor {
 public:
  virtual void AcceptEnd(const EndLexeme& lexeme) = 0;

 protected:
  ~EndLexemeAcceptor() = default;
};

// Everything the time lexer produces.
class TimeLexemeAcceptor : public ReservedWordAcceptor<TimeParsingAction>,
                           public TimeNumeralLexemeAcceptor,
                           public CharacterLexemeAcceptor,
                           public EndLexemeAcceptor {
 protected:
  ~TimeLexemeAcceptor() = default;
};
