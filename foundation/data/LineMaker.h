// Splits a byte stream into lines for a LineReceiver. CR, LF and CR LF each end a line (a CR LF
// split between two Receive calls is still one terminator; LF CR is two). Line data is handed
// out as sub-ranges of the caller's bytes, never copied. A final line without a terminator gets
// its LineData but no LineEnd.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <cstdint>

class LineMaker : public DataReceiver {
 public:
  explicit LineMaker(LineReceiver& downstream) noexcept : downstream_(downstream) {}

  void StartData(std::uint64_t position) override;
  void Receive(const char* begin, const char* end) override;
  void EndData() override;

 private:
  // Reports the pending terminator, taking `next` as its second byte when it completes a CR LF.
  // Returns whether `next` was used.
  bool ResolvePending(char next);

  LineReceiver& downstream_;
  std::uint64_t offset_ = 0;
  // 0, or the CR or LF seen last whose line end is not yet reported: only the next byte tells
  // whether a CR is followed by its LF.
  char pendingTerminator_ = 0;
};
