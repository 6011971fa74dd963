#include "foundation/data/Base64EncodingLineMaker.h"

void Base64EncodingLineMaker::StartData(std::uint64_t /*position*/) {
  // The lines are a stream of their own, counted from 0.
  encoder_.Reset();
  cursor_ = lineStart_;
  offset_ = 0;
  downstream_.StartLines(0);
}

void Base64EncodingLineMaker::EndLine() {
  offset_ += static_cast<std::uint64_t>(cursor_ - lineStart_);
  downstream_.LineData(lineStart_, cursor_);
  downstream_.LineEnd(offset_, offset_);
  cursor_ = lineStart_;
}

void Base64EncodingLineMaker::Receive(const char* begin, const char* end) {
  DataFilter::Input input{begin, end};
  for (;;) {
    DataFilter::Output output{lineStart_, cursor_, lineEnd_};
    encoder_.Filter(input, output);
    cursor_ = output.end;
    // A buffer that is not full means the input is used up and no whole character is held.
    if (cursor_ != lineEnd_) return;
    EndLine();
  }
}

void Base64EncodingLineMaker::EndData() {
  // Room is certain: a line holds whole 4-character groups, so a started group always fits.
  DataFilter::Output output{lineStart_, cursor_, lineEnd_};
  encoder_.Flush(output);
  cursor_ = output.end;
  EndLine();
  downstream_.EndLines(offset_);
}
