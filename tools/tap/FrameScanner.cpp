#include "tools/tap/FrameScanner.h"

#include <algorithm>
#include <cstring>

void FrameScanner::Feed(ByteRange bytes) {
  const char* at = bytes.begin;
  while (at != bytes.end) {
    const auto available = static_cast<std::uint64_t>(bytes.end - at);
    switch (state_) {
      case State::Prefix: {
        prefix_[prefixHave_++] = *at++;
        if (prefixHave_ == kPrefixSize) PrefixComplete();
        break;
      }
      case State::Body: {
        const auto take = static_cast<std::size_t>(std::min(available, length_ - received_));
        body_.insert(body_.end(), at, at + take);
        at += take;
        received_ += take;
        if (received_ == length_) {
          receiver_->Frame(ByteRange(body_.data(), body_.data() + body_.size()));
          state_ = State::Prefix;
        }
        break;
      }
      case State::Skip: {
        const auto take = std::min(available, length_ - received_);
        at += take;
        received_ += take;
        if (received_ == length_) state_ = State::Prefix;
        break;
      }
    }
  }
}

// The prefix is in the machine's own byte order, as both ends write it.
void FrameScanner::PrefixComplete() {
  std::memcpy(&length_, prefix_, sizeof length_);
  prefixHave_ = 0;
  received_ = 0;
  body_.clear();
  if (length_ > limit_) {
    receiver_->OversizedFrame(length_);
    state_ = State::Skip;
  } else if (length_ == 0) {
    receiver_->Frame(ByteRange());
  } else {
    body_.reserve(length_);
    state_ = State::Body;
  }
}

void FrameScanner::Finish() {
  switch (state_) {
    case State::Prefix:
      if (prefixHave_ != 0) receiver_->PartialPrefix(ByteRange(prefix_, prefix_ + prefixHave_));
      break;
    case State::Body:
      receiver_->PartialFrame(length_, received_,
                              ByteRange(body_.data(), body_.data() + body_.size()));
      break;
    case State::Skip:
      receiver_->PartialFrame(length_, received_, ByteRange());
      break;
  }
  state_ = State::Prefix;
  prefixHave_ = 0;
}
