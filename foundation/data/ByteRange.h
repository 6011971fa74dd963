// A borrowed byte range (begin, end): how names, values, texts and pieces of binary data are
// handed between stages without copying. It never owns what it points at; the source must
// outlive it.
#pragma once

#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

struct ByteRange {
  const char* begin = nullptr;
  const char* end = nullptr;

  constexpr ByteRange() = default;
  constexpr ByteRange(const char* rangeBegin, const char* rangeEnd)
      : begin(rangeBegin), end(rangeEnd) {}
  // Implicit from the usual holders of text, so that call sites pass what they have. A binary
  // string is left out on purpose: it becomes text only through the UTF-8 check.
  ByteRange(const char* text) : begin(text), end(text + std::strlen(text)) {}
  ByteRange(const UString8& text) : begin(text.begin()), end(text.end()) {}
  ByteRange(const std::string& text) : begin(text.data()), end(text.data() + text.size()) {}
  ByteRange(const std::vector<char>& bytes)
      : begin(bytes.data()), end(bytes.data() + bytes.size()) {}

  [[nodiscard]] std::size_t size() const noexcept { return static_cast<std::size_t>(end - begin); }
  [[nodiscard]] bool empty() const noexcept { return begin == end; }

  // Unsigned byte order, a shorter range first on a common beginning.
  [[nodiscard]] static int Compare(ByteRange a, ByteRange b) noexcept {
    return UString8::Compare(a.begin, a.end, b.begin, b.end);
  }
  friend bool operator==(ByteRange a, ByteRange b) noexcept {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.begin, b.begin, a.size()) == 0);
  }
  friend bool operator!=(ByteRange a, ByteRange b) noexcept { return !(a == b); }
};
