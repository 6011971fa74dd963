// What the fuzz targets share: a check that stops the run with the failed condition, and the
// input cut into the pieces a target feeds to separate parameters.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define QVX_FUZZ_CHECK(condition) \
  ((condition) ? void(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

// The input split at every byte equal to separator, so that one input carries several texts.
inline std::vector<std::string> SplitInput(const unsigned char* data, std::size_t size,
                                           char separator) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (static_cast<char>(data[i]) == separator) {
      pieces.emplace_back();
    } else {
      pieces.back().push_back(static_cast<char>(data[i]));
    }
  }
  return pieces;
}
