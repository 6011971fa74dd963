#include "foundation/data/Base64DecodingDataMaker.h"

void Base64DecodingDataMaker::StartLines(std::uint64_t position) {
  decoder_.Reset();
  downstream_.StartData(position);
}

void Base64DecodingDataMaker::LineData(const char* begin, const char* end) {
  DataFilter::Input input{begin, end};
  while (!input.Empty()) {
    char buffer[kBufferBytes];
    DataFilter::Output output{buffer, buffer, buffer + kBufferBytes};
    decoder_.Filter(input, output);
    if (output.end != buffer) downstream_.Receive(buffer, output.end);
  }
}

void Base64DecodingDataMaker::EndLines(std::uint64_t /*position*/) { downstream_.EndData(); }
