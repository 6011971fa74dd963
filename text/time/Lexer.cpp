#include "text/time/Lexer.h"

#include "text/time/ParsingErrors.h"

#include <limits>

namespace {

constexpr std::uint64_t kLastPosition = std::numeric_limits<std::uint32_t>::max();

}  // namespace

void Lexer::StartData(std::uint64_t position) {
  if (position > kLastPosition) throw RequiredValueWouldOverflow();
  position_ = static_cast<std::uint32_t>(position);
  inLexeme_ = false;
}

void Lexer::Receive(const char* begin, const char* end) {
  // Checked up front, so that every position handed out below fits.
  if (std::uint64_t{position_} + static_cast<std::uint64_t>(end - begin) > kLastPosition) {
    throw RequiredValueWouldOverflow();
  }
  const char* piece = begin;
  for (const char* cursor = begin; cursor != end; ++cursor) {
    // The rest of a lexeme that extends is passed over in one go.
    if (inLexeme_ && Extends(class_)) {
      while (cursor != end && classes_.classOf[static_cast<unsigned char>(*cursor)] == class_)
        ++cursor;
      if (cursor == end) break;
    }
    const ByteClass byteClass = classes_.classOf[static_cast<unsigned char>(*cursor)];
    if (inLexeme_ && !Skips(class_)) {
      if (cursor != piece) LexemeBytes(piece, cursor);
      FinishLexeme();
    }
    if (!Skips(byteClass))
      StartLexeme(byteClass, position_ + static_cast<std::uint32_t>(cursor - begin));
    inLexeme_ = true;
    class_ = byteClass;
    piece = cursor;
  }
  if (inLexeme_ && piece != end && !Skips(class_)) LexemeBytes(piece, end);
  position_ += static_cast<std::uint32_t>(end - begin);
}

void Lexer::EndData() {
  if (inLexeme_) {
    inLexeme_ = false;
    if (!Skips(class_)) FinishLexeme();
  }
  EndOfText(position_);
}
