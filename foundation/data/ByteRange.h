// A borrowed byte range (begin, end): how names, values, texts and pieces of binary data are
// handed between stages without copying. It is a std::string_view held as the (begin, end) pair
// the stages walk, converts to and from one, and compares through it. It never owns what it
// points at; the source must outlive it.
#pragma once

#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ByteRange {
  const char* begin = nullptr;
  const char* end = nullptr;

  constexpr ByteRange() = default;
  constexpr ByteRange(const char* rangeBegin, const char* rangeEnd)
      : begin(rangeBegin), end(rangeEnd) {}
  // Implicit from the usual holders of text, so that call sites pass what they have. A binary
  // string is left out on purpose: it becomes text only through the UTF-8 check.
  constexpr ByteRange(std::string_view view) : begin(view.data()), end(view.data() + view.size()) {}
  constexpr ByteRange(const char* text) : ByteRange(std::string_view(text)) {}
  ByteRange(const std::string& text) : ByteRange(std::string_view(text)) {}
  ByteRange(const UString8& text) : begin(text.begin()), end(text.end()) {}
  ByteRange(const std::vector<char>& bytes)
      : begin(bytes.data()), end(bytes.data() + bytes.size()) {}

  [[nodiscard]] constexpr std::string_view View() const noexcept { return {begin, size()}; }
  constexpr operator std::string_view() const noexcept { return View(); }
  [[nodiscard]] constexpr std::size_t size() const noexcept {
    return static_cast<std::size_t>(end - begin);
  }
  [[nodiscard]] constexpr bool empty() const noexcept { return begin == end; }

  // Unsigned byte order (the traits of char compare as unsigned char), a shorter range first on
  // a common beginning.
  [[nodiscard]] static constexpr int Compare(ByteRange a, ByteRange b) noexcept {
    return a.View().compare(b.View());
  }
  friend constexpr bool operator==(ByteRange a, ByteRange b) noexcept {
    return a.View() == b.View();
  }
  friend constexpr bool operator!=(ByteRange a, ByteRange b) noexcept { return !(a == b); }
  // Lets an ordered container keyed by a string of the family, given std::less<>, be searched
  // by a range without making a string of it.
  friend constexpr bool operator<(ByteRange a, ByteRange b) noexcept { return a.View() < b.View(); }
};
