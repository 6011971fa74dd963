#include "foundation/data/DataFilterer.h"

void DataFilterer::StartData(std::uint64_t position) { downstream_.StartData(position); }

void DataFilterer::Receive(const char* begin, const char* end) {
  DataFilter::Input input{begin, end};
  while (!input.Empty()) {
    char buffer[kBufferBytes];
    DataFilter::Output output{buffer, buffer, buffer + kBufferBytes};
    const char* const consumedBefore = input.begin;
    filter_.Filter(input, output);
    if (input.begin == consumedBefore && output.end == buffer) throw DataFilterStalled();
    if (output.end != buffer) downstream_.Receive(buffer, output.end);
  }
}

void DataFilterer::EndData() {
  while (!filter_.IsFlushed()) {
    char buffer[kBufferBytes];
    DataFilter::Output output{buffer, buffer, buffer + kBufferBytes};
    filter_.Flush(output);
    if (output.end != buffer) {
      downstream_.Receive(buffer, output.end);
    } else if (!filter_.IsFlushed()) {
      throw DataFilterStalled();
    }
  }
  downstream_.EndData();
}
