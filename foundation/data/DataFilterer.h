// Connects a DataFilter to a downstream receiver: every received range is filtered through a
// 1024-byte buffer on the stack and passed on, and whatever the filter still holds at the end
// is flushed before the downstream EndData. Both the filter and the receiver are borrowed.
#pragma once

#include "foundation/data/DataReceiver.h"
#include "foundation/platform/DebuggableException.h"

#include <cstddef>
#include <cstdint>

// A filter that, handed input and room, neither consumed nor produced a byte (or stayed
// unflushed while flushing nothing): going on would loop for ever.
QVX_DECLARE_EXCEPTION(DataFilterStalled, DebuggableException);

class DataFilterer : public DataReceiver {
 public:
  static constexpr std::size_t kBufferBytes = 1024;

  DataFilterer(DataReceiver& downstream, DataFilter& filter) noexcept
      : downstream_(downstream), filter_(filter) {}

  void StartData(std::uint64_t position) override;
  void Receive(const char* begin, const char* end) override;
  void EndData() override;

 private:
  DataReceiver& downstream_;
  DataFilter& filter_;
};
