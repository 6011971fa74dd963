// A borrowed byte range (begin, end) for names, values and texts handed to the XML tree and
// writer. Implicit from the usual holders of bytes so that call sites can pass what they have.
#pragma once

#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

struct XMLByteRange {
  const char* begin = nullptr;
  const char* end = nullptr;

  constexpr XMLByteRange() = default;
  constexpr XMLByteRange(const char* rangeBegin, const char* rangeEnd)
      : begin(rangeBegin), end(rangeEnd) {}
  // The source must outlive the range.
  XMLByteRange(const char* text) : begin(text), end(text + std::strlen(text)) {}
  XMLByteRange(const UString8& text) : begin(text.begin()), end(text.end()) {}
  XMLByteRange(const std::string& text) : begin(text.data()), end(text.data() + text.size()) {}
  XMLByteRange(const std::vector<char>& bytes)
      : begin(bytes.data()), end(bytes.data() + bytes.size()) {}

  [[nodiscard]] std::size_t size() const noexcept { return static_cast<std::size_t>(end - begin); }
  [[nodiscard]] bool empty() const noexcept { return begin == end; }
  friend bool operator==(XMLByteRange a, XMLByteRange b) noexcept {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.begin, b.begin, a.size()) == 0);
  }
};
