// Cuts a date-time text into the lexemes of TimeLexemes.h and hands them to a
// TimeLexemeAcceptor: runs of blanks are skipped, runs of digits are numerals of up to four
// digits, runs of letters are reserved words (in any case), and every other byte stands alone.
#pragma once

#include "text/time/Lexer.h"
#include "text/time/TimeLexemes.h"

#include <cstddef>
#include <cstdint>

// The 54 reserved words of date-time texts, lower case, in unsigned byte order.
struct TimeReservedWordTable {
  const ReservedWord<TimeParsingAction>* begin;
  const ReservedWord<TimeParsingAction>* end;
};
[[nodiscard]] TimeReservedWordTable TimeReservedWords() noexcept;

class TimeLexer : public Lexer {
 public:
  static constexpr std::uint32_t kMaxNumeralDigits = 4;
  // No reserved word is longer; a longer run of letters fails at once.
  static constexpr std::size_t kMaxWordBytes = 3;

  // The acceptor is borrowed and must outlive the lexer. A numeral of more than four digits or a
  // word that is not reserved throws ParsingFailure.
  explicit TimeLexer(TimeLexemeAcceptor& acceptor) noexcept;

 protected:
  void StartLexeme(ByteClass byteClass, std::uint32_t position) override;
  void LexemeBytes(const char* begin, const char* end) override;
  void FinishLexeme() override;
  void EndOfText(std::uint32_t position) override;

 private:
  TimeLexemeAcceptor& acceptor_;
  ByteClass class_ = 0;
  std::uint32_t position_ = 0;
  TimeNumeralLexeme numeral_{};
  char word_[kMaxWordBytes] = {};
  std::size_t wordBytes_ = 0;
  char character_ = 0;
};
