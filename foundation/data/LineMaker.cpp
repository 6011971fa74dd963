#include "foundation/data/LineMaker.h"

namespace {
constexpr char kCR = 13;
constexpr char kLF = 10;

const char* FindTerminator(const char* begin, const char* end) noexcept {
  while (begin != end && *begin != kCR && *begin != kLF) ++begin;
  return begin;
}
}  // namespace

void LineMaker::StartData(std::uint64_t /*position*/) {
  // Line offsets count from the start of this stream, whatever the producer counts from.
  offset_ = 0;
  pendingTerminator_ = 0;
  downstream_.StartLines(0);
}

bool LineMaker::ResolvePending(char next) {
  const bool pairsWithNext = pendingTerminator_ == kCR && next == kLF;
  const std::uint64_t length = pairsWithNext ? 2 : 1;
  pendingTerminator_ = 0;
  downstream_.LineEnd(offset_, offset_ + length);
  offset_ += length;
  return pairsWithNext;
}

void LineMaker::Receive(const char* begin, const char* end) {
  while (begin != end) {
    if (pendingTerminator_ != 0 && ResolvePending(*begin)) {
      ++begin;
      continue;
    }
    const char* const terminator = FindTerminator(begin, end);
    if (terminator != begin) {
      downstream_.LineData(begin, terminator);
      offset_ += static_cast<std::uint64_t>(terminator - begin);
    }
    if (terminator == end) return;
    pendingTerminator_ = *terminator;
    begin = terminator + 1;
  }
}

void LineMaker::EndData() {
  if (pendingTerminator_ != 0) ResolvePending(0);
  downstream_.EndLines(offset_);
}
