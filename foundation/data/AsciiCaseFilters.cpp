#include "foundation/data/AsciiCaseFilters.h"

#include <algorithm>
#include <cstddef>

namespace Ascii {
namespace {

// Copies as many bytes as fit, through `map`.
template <class Map>
void CopyMapped(DataFilter::Input& input, DataFilter::Output& output, Map map) {
  const std::size_t count = std::min(input.Size(), output.Free());
  output.end = std::transform(input.begin, input.begin + count, output.end, map);
  input.begin += count;
}

}  // namespace

void CaseLoweringFilter::Filter(Input& input, Output& output) {
  CopyMapped(input, output, [](char byte) -> char {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
  });
}

}  // namespace Ascii
