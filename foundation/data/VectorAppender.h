// A receiver that appends every byte of the stream to a byte vector the caller owns; what the
// vector already holds is kept.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <cstdint>
#include <vector>

class VectorAppender : public DataReceiver {
 public:
  explicit VectorAppender(std::vector<char>& target) noexcept : target_(target) {}

  void StartData(std::uint64_t /*position*/) override {}
  void Receive(const char* begin, const char* end) override {
    target_.insert(target_.end(), begin, end);
  }
  void EndData() override {}

 private:
  std::vector<char>& target_;
};
