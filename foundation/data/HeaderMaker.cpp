#include "foundation/data/HeaderMaker.h"

#include <utility>

void HeaderMaker::StartLines(std::uint64_t /*position*/) {
  lines_.clear();
  currentLine_.Clear();
  lineOpen_ = false;
}

void HeaderMaker::LineData(const char* begin, const char* end) {
  currentLine_.Append(begin, end);
  lineOpen_ = true;
}

void HeaderMaker::LineEnd(std::uint64_t /*first*/, std::uint64_t /*last*/) {
  lines_.push_back(std::move(currentLine_));
  currentLine_ = AutoUString<UTF8>();
  lineOpen_ = false;
}

void HeaderMaker::EndLines(std::uint64_t /*position*/) {
  if (lineOpen_) LineEnd(0, 0);
}
