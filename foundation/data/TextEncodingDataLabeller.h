// Labels a byte stream as text of an encoding and hands it to a text receiver of that encoding:
// the start, the bytes and the end pass through unchanged and unchecked. The text receiver is
// borrowed.
#pragma once

#include "foundation/data/DataReceiver.h"
#include "foundation/text/UTextReceiver.h"

#include <cstdint>

template <class E>
class TextEncodingDataLabeller : public DataReceiver {
  static_assert(sizeof(typename E::Unit) == 1, "bytes can be labelled only as an 8-bit encoding");

 public:
  explicit TextEncodingDataLabeller(UTextReceiver<E>& receiver) noexcept : receiver_(receiver) {}

  void StartData(std::uint64_t /*position*/) override { receiver_.Start(); }
  void Receive(const char* begin, const char* end) override { receiver_.Receive(begin, end); }
  void EndData() override { receiver_.End(); }

 private:
  UTextReceiver<E>& receiver_;
};
