#include "foundation/data/AppendBase64.h"

#include "foundation/data/Base64Encoder.h"

#include <cstddef>

void AppendBase64(const char* begin, const char* end, std::string& target) {
  const std::size_t oldSize = target.size();
  const std::size_t byteCount = static_cast<std::size_t>(end - begin);
  target.resize(oldSize + (byteCount + 2) / 3 * 4);
  // The exact size is reserved, so one Filter and one Flush always have room.
  char* const start = target.data() + oldSize;
  DataFilter::Output output{start, start, target.data() + target.size()};
  DataFilter::Input input{begin, end};
  Base64Encoder encoder;
  encoder.Filter(input, output);
  encoder.Flush(output);
  target.resize(oldSize + output.Size());
}
