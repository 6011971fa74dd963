// A receiver that accepts a stream and drops it: the end of a pipeline whose output nobody needs.
#pragma once

#include "foundation/data/DataReceiver.h"

#include <cstdint>

class IgnoreDataReceiver : public DataReceiver {
 public:
  void StartData(std::uint64_t /*position*/) override {}
  void Receive(const char* /*begin*/, const char* /*end*/) override {}
  void EndData() override {}
};
