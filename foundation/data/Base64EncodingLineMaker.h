// Encodes a byte stream as Base64 lines of exactly 64 characters (48 bytes) for a LineReceiver;
// the last line is shorter and is always reported, empty when the stream is a multiple of 48
// bytes. Line ends are empty terminators (LineEnd(offset, offset)): the receiver chooses the
// line break. Used to write support files.
#pragma once

#include "foundation/data/Base64Encoder.h"
#include "foundation/data/DataReceiver.h"

#include <cstddef>
#include <cstdint>

class Base64EncodingLineMaker : public DataReceiver {
 public:
  static constexpr std::size_t kLineCharacters = 64;

  explicit Base64EncodingLineMaker(LineReceiver& downstream) noexcept : downstream_(downstream) {}
  // The cursors point into the object's own line buffer.
  Base64EncodingLineMaker(const Base64EncodingLineMaker&) = delete;
  Base64EncodingLineMaker& operator=(const Base64EncodingLineMaker&) = delete;

  void StartData(std::uint64_t position) override;
  void Receive(const char* begin, const char* end) override;
  void EndData() override;

 private:
  // Hands the buffered characters on as one line and empties the buffer.
  void EndLine();

  Base64Encoder encoder_;
  char* cursor_ = line_;
  char* lineEnd_ = line_ + kLineCharacters;
  char* lineStart_ = line_;
  char line_[kLineCharacters];
  // Characters handed on so far: the stream offset of the next line end.
  std::uint64_t offset_ = 0;
  LineReceiver& downstream_;
};
