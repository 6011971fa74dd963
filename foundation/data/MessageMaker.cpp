#include "foundation/data/MessageMaker.h"

void MessageMaker::StartLines(std::uint64_t position) {
  header_.emplace();
  atLineStart_ = true;
  inHeader_ = true;
  currentPart_ = &*header_;
  handler_.Start(position);
  header_->StartLines(position);
}

void MessageMaker::LineData(const char* begin, const char* end) {
  if (begin == end) return;
  currentPart_->LineData(begin, end);
  atLineStart_ = false;
}

void MessageMaker::LineEnd(std::uint64_t first, std::uint64_t last) {
  if (atLineStart_ && inHeader_) {
    // The separating empty line belongs to neither part.
    header_->EndLines(first);
    StartBody(last);
  } else {
    currentPart_->LineEnd(first, last);
  }
  atLineStart_ = true;
}

void MessageMaker::EndLines(std::uint64_t position) {
  currentPart_->EndLines(position);
  if (inHeader_) {
    // A message that is all header still has a body, an empty one.
    StartBody(position);
    currentPart_->EndLines(position);
  }
  handler_.End(position);
}

void MessageMaker::StartBody(std::uint64_t position) {
  inHeader_ = false;
  currentPart_ = &handler_.BodyReceiver(*header_, position);
  currentPart_->StartLines(position);
}
