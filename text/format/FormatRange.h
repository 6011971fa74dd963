// A borrowed UTF-8 byte range (begin, end): how format texts, variable names, argument values
// and override keys are passed around the format layer. It never owns what it points at.
#pragma once

#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <cstring>
#include <string>

struct FormatRange {
  const char* begin = nullptr;
  const char* end = nullptr;

  constexpr FormatRange() = default;
  constexpr FormatRange(const char* rangeBegin, const char* rangeEnd)
      : begin(rangeBegin), end(rangeEnd) {}
  // Implicit so that literals and strings can be passed directly; the source must outlive the
  // range.
  FormatRange(const char* text) : begin(text), end(text + std::strlen(text)) {}
  FormatRange(const AutoUString<UTF8>& text) : begin(text.begin()), end(text.end()) {}
  FormatRange(const std::string& text) : begin(text.data()), end(text.data() + text.size()) {}

  [[nodiscard]] std::size_t size() const noexcept { return static_cast<std::size_t>(end - begin); }
  [[nodiscard]] bool empty() const noexcept { return begin == end; }

  // Unsigned byte order, a shorter range first on a common beginning.
  [[nodiscard]] static int Compare(FormatRange a, FormatRange b) noexcept {
    return AutoUString<UTF8>::Compare(a.begin, a.end, b.begin, b.end);
  }
  friend bool operator==(FormatRange a, FormatRange b) noexcept {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.begin, b.begin, a.size()) == 0);
  }
  friend bool operator!=(FormatRange a, FormatRange b) noexcept { return !(a == b); }
};
