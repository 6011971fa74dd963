// Reserved words for the lexers: a table entry names a word and the action it stands for, and
// the lexer hands a found word on as a ReservedWordLexeme to a ReservedWordAcceptor. Tables are
// sorted by unsigned byte order.
#pragma once

#include <cstdint>

template <class Action>
struct ReservedWord {
  const char* name;
  Action action;
  std::int32_t value;
};

// A run of letters as the lexer read it (folded to lower case) and where it began.
struct WordLexeme {
  std::uint32_t position;
  const char* begin;
  const char* end;
};

template <class Action>
struct ReservedWordLexeme : WordLexeme {
  const ReservedWord<Action>* word;
};

template <class Action>
class ReservedWordAcceptor {
 public:
  virtual void AcceptReservedWord(const ReservedWordLexeme<Action>& lexeme) = 0;

 protected:
  ~ReservedWordAcceptor() = default;
};
