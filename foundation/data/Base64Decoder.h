// The bit work of Base64 decoding as a DataFilter: alphabet characters in, bytes out. Every
// byte outside the standard alphabet ("=", line breaks, blanks, anything foreign) is skipped,
// and bits that do not make a whole byte at the end are dropped, so malformed text is never an
// error. Base64DecodingDataMaker runs it.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <cstdint>

class Base64Decoder final : public DataFilter {
 public:
  // Forgets any bits of an abandoned stream.
  void Reset() noexcept {
    bits_ = 0;
    bitCount_ = 0;
  }

  // Stops, leaving the rest of the input, once the output is full and the next character
  // completes a byte. Throws DataOverflow when a byte is due and the output had no room at all,
  // since then no progress is possible.
  void Filter(Input& input, Output& output) override;
  // The default IsFlushed and Flush hold: leftover bits never make a byte.

 private:
  // The low `bitCount_` bits (0, 2, 4 or 6) are decoded but not yet written as a byte.
  std::uint32_t bits_ = 0;
  std::uint8_t bitCount_ = 0;
};
