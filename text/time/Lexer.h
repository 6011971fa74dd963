// The base of the lexers: a DataReceiver that cuts the byte stream into lexemes. The class of a
// lexeme's first byte decides its kind, and the lexeme extends while bytes of the same class
// follow (or is that one byte, for classes that do not extend). Lexemes may span Receive calls.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <array>
#include <cstdint>

class Lexer : public DataReceiver {
 public:
  using ByteClass = std::uint8_t;
  // What a lexer knows of bytes: the class of each; as bit n of `extending`, whether a lexeme
  // of class n takes in the following bytes of the same class; as bit n of `skipped`, whether
  // lexemes of class n (blanks) are cut but not handed on. A constant of the lexer, looked up
  // for every byte.
  struct ByteClasses {
    std::array<ByteClass, 256> classOf;
    std::uint32_t extending;
    std::uint32_t skipped;
  };

  // Positions count from `position`; RequiredValueWouldOverflow once one passes 32 bits.
  void StartData(std::uint64_t position) final;
  void Receive(const char* begin, const char* end) final;
  // Ends the current lexeme, then the text.
  void EndData() final;

 protected:
  // The classes are borrowed and must outlive the lexer.
  explicit Lexer(const ByteClasses& classes) noexcept : classes_(classes) {}

  // A lexeme begins at `position`; its bytes follow in one or more pieces, then its end. None of
  // the three is called for a skipped lexeme.
  virtual void StartLexeme(ByteClass byteClass, std::uint32_t position) = 0;
  virtual void LexemeBytes(const char* begin, const char* end) = 0;
  virtual void FinishLexeme() = 0;
  // The text ended at `position`, after the last lexeme's end.
  virtual void EndOfText(std::uint32_t position) = 0;

 private:
  [[nodiscard]] bool Extends(ByteClass byteClass) const noexcept {
    return (classes_.extending >> byteClass & 1) != 0;
  }
  [[nodiscard]] bool Skips(ByteClass byteClass) const noexcept {
    return (classes_.skipped >> byteClass & 1) != 0;
  }

  const ByteClasses& classes_;
  std::uint32_t position_ = 0;
  bool inLexeme_ = false;
  ByteClass class_ = 0;
};
