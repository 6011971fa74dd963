// The base of the lexers: a DataReceiver that cuts the byte stream into lexemes. The class of a
// lexeme's first byte decides its kind, and the lexeme extends while bytes of the same class
// follow (or is that one byte, for classes that do not extend). Lexemes may span Receive calls.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <cstdint>

class Lexer : public DataReceiver {
 public:
  using ByteClass = int;

  // Positions count from `position`; RequiredValueWouldOverflow once one passes 32 bits.
  void StartData(std::uint64_t position) final;
  void Receive(const char* begin, const char* end) final;
  // Ends the current lexeme, then the text.
  void EndData() final;

 protected:
  [[nodiscard]] virtual ByteClass ClassOf(unsigned char byte) const = 0;
  // Whether a lexeme of this class takes in the following bytes of the same class.
  [[nodiscard]] virtual bool Extends(ByteClass byteClass) const = 0;

  // A lexeme begins at `position`; its bytes follow in one or more pieces, then its end.
  virtual void StartLexeme(ByteClass byteClass, std::uint32_t position) = 0;
  virtual void LexemeBytes(const char* begin, const char* end) = 0;
  virtual void FinishLexeme() = 0;
  // The text ended at `position`, after the last lexeme's end.
  virtual void EndOfText(std::uint32_t position) = 0;

 private:
  std::uint32_t position_ = 0;
  bool inLexeme_ = false;
  ByteClass class_ = 0;
};
