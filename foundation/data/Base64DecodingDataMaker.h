// Decodes Base64 lines into a byte stream for a DataReceiver; the stage behind a LineMaker when
// Base64 text from the client becomes file contents. Line ends carry no data, and whatever is
// not in the alphabet is skipped (see Base64Decoder).
#pragma once

#include "foundation/data/Base64Decoder.h"
#include "foundation/data/DataReceiver.h"

#include <cstddef>
#include <cstdint>

class Base64DecodingDataMaker : public LineReceiver {
 public:
  // The decoded bytes go downstream in pieces of at most this many.
  static constexpr std::size_t kBufferBytes = 80;

  explicit Base64DecodingDataMaker(DataReceiver& downstream) noexcept : downstream_(downstream) {}

  void StartLines(std::uint64_t position) override;
  void LineData(const char* begin, const char* end) override;
  void LineEnd(std::uint64_t /*first*/, std::uint64_t /*last*/) override {}
  void EndLines(std::uint64_t position) override;

 private:
  Base64Decoder decoder_;
  DataReceiver& downstream_;
};
