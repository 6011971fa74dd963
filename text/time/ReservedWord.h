// Reserved words for the lexers: a table entry names a word and the action it stands for, and
// the lexer hands a found word on as a ReservedWordLexeme to a ReservedWordAcceptor. Tables are
// sorted by unsigned byte order and searched by halving.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// Orders a table entry before a word (begin, end) by unsigned bytes, a prefix first.
inline bool ReservedWordPrecedes(const char* name, const char* begin, const char* end) noexcept {
  for (; *name != '\0' && begin != end; ++name, ++begin) {
    const auto a = static_cast<unsigned char>(*name);
    const auto b = static_cast<unsigned char>(*begin);
    if (a != b) return a < b;
  }
  return *name == '\0' && begin != end;
}

// The entry for the word (begin, end), or nullptr.
template <class Action>
const ReservedWord<Action>* FindReservedWord(const ReservedWord<Action>* tableBegin,
                                             const ReservedWord<Action>* tableEnd,
                                             const char* begin, const char* end) noexcept {
  const ReservedWord<Action>* found = std::lower_bound(
      tableBegin, tableEnd, begin, [end](const ReservedWord<Action>& entry, const char* word) {
        return ReservedWordPrecedes(entry.name, word, end);
      });
  if (found == tableEnd) return nullptr;
  const std::size_t length = static_cast<std::size_t>(end - begin);
  return std::strlen(found->name) == length && std::memcmp(found->name, begin, length) == 0
             ? found
             : nullptr;
}
