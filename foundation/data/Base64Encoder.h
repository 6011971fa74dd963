// The bit work of Base64 encoding (standard alphabet, "=" padding) as a DataFilter: bytes in,
// alphabet characters out. Base64EncodingLineMaker and AppendBase64 run it. Flush writes the
// last character and the padding.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <cstdint>

class Base64Encoder final : public DataFilter {
 public:
  // Forgets any bits of an abandoned stream.
  void Reset() noexcept {
    bits_ = 0;
    bitCount_ = 0;
  }

  // Stops when the input is used up or the output is full; never throws.
  void Filter(Input& input, Output& output) override;
  [[nodiscard]] bool IsFlushed() const override { return bitCount_ == 0; }
  // Throws DataOverflow, writing nothing, when the rest and its padding do not fit.
  void Flush(Output& output) override;

 private:
  // The low `bitCount_` bits are the ones not yet written as characters.
  std::uint32_t bits_ = 0;
  std::uint8_t bitCount_ = 0;
};
