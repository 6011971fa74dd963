// The program's owning string of code units of one encoding, with a 64-byte inline buffer so
// that short texts never touch the heap. Every layer holds its text in this family.
#pragma once

#include "foundation/text/Encodings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace AutoUStringDetail {
// The encoding tag of a member of the string family, void for any other range of units.
template <class S, class = void>
struct EncodingOf {
  using Type = void;
};
template <class S>
struct EncodingOf<S, std::void_t<typename S::Encoding>> {
  using Type = typename S::Encoding;
};
// Whether text of encoding From may be appended unchanged to text of encoding To: only the same
// encoding. Anything else (binary bytes into text above all) must go through a conversion or a
// check first.
template <class From, class To>
constexpr bool kAppendsAsIs = std::is_same_v<From, To>;
}  // namespace AutoUStringDetail

template <class E>
class AutoUString {
 public:
  using Encoding = E;
  using Unit = typename E::Unit;
  static constexpr std::uint64_t kInlineBytes = 64;

  AutoUString() noexcept { ResetInline(); }
  AutoUString(const Unit* begin, const Unit* end) : AutoUString() { Append(begin, end); }
  // A NUL-terminated text of 8-bit units.
  template <class U = Unit, class = std::enable_if_t<sizeof(U) == 1>>
  explicit AutoUString(const char* text) : AutoUString() {
    Append(text, text + std::strlen(text));
  }
  AutoUString(const AutoUString& other) : AutoUString() { Append(other.begin(), other.end()); }
  AutoUString(AutoUString&& other) noexcept : AutoUString() { TakeFrom(other); }
  AutoUString& operator=(const AutoUString& other) {
    if (this != &other) Assign(other.begin(), other.end());
    return *this;
  }
  AutoUString& operator=(AutoUString&& other) noexcept {
    if (this != &other) {
      FreeHeap();
      ResetInline();
      TakeFrom(other);
    }
    return *this;
  }
  ~AutoUString() { FreeHeap(); }

  [[nodiscard]] const Unit* begin() const noexcept { return begin_; }
  [[nodiscard]] const Unit* end() const noexcept { return end_; }
  [[nodiscard]] const Unit* data() const noexcept { return begin_; }
  [[nodiscard]] std::size_t size() const noexcept {
    return static_cast<std::size_t>(end_ - begin_);
  }
  [[nodiscard]] bool empty() const noexcept { return begin_ == end_; }
  // In bytes, 64 while the text is inline.
  [[nodiscard]] std::uint64_t capacity() const noexcept { return capacity_; }
  [[nodiscard]] bool IsInline() const noexcept { return begin_ == InlineBuffer(); }
  Unit operator[](std::size_t index) const noexcept { return begin_[index]; }

  // Writable units, for callers that fill a Resize'd string themselves.
  Unit* MutableBegin() noexcept { return begin_; }

  void Clear() noexcept { end_ = begin_; }

  void Reserve(std::size_t units) {
    if (units * sizeof(Unit) > capacity_) Grow(units);
  }
  // Units added at the end are left as they were in the storage.
  void Resize(std::size_t units) {
    Reserve(units);
    end_ = begin_ + units;
  }

  void Append(const Unit* begin, const Unit* end) {
    const std::size_t count = static_cast<std::size_t>(end - begin);
    if (count == 0) return;
    const std::size_t length = size();
    if ((length + count) * sizeof(Unit) > capacity_) {
      // The source may lie inside our own text; growing keeps the text at the same offsets, so
      // it is found again there.
      const bool inside = begin >= begin_ && begin < end_;
      const std::size_t offset = inside ? static_cast<std::size_t>(begin - begin_) : 0;
      Grow(length + count);
      if (inside) begin = begin_ + offset;
    }
    std::memmove(end_, begin, count * sizeof(Unit));
    end_ += count;
  }
  void Append(Unit unit) { Append(&unit, &unit + 1); }
  // Any range of units with begin() and end(): another string of the family only when its
  // encoding may be appended as it is.
  template <
      class S, class From = typename AutoUStringDetail::EncodingOf<S>::Type,
      class = std::enable_if_t<std::is_void_v<From> || AutoUStringDetail::kAppendsAsIs<From, E>>>
  void Append(const S& other) {
    Append(other.begin(), other.end());
  }
  void Assign(const Unit* begin, const Unit* end) {
    if (begin >= begin_ && begin < end_) {
      AutoUString copy(begin, end);
      *this = std::move(copy);
      return;
    }
    Clear();
    Append(begin, end);
  }

  friend bool operator==(const AutoUString& a, const AutoUString& b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }
  friend bool operator!=(const AutoUString& a, const AutoUString& b) noexcept { return !(a == b); }
  // Unsigned unit order; a shorter string first on a common beginning.
  friend bool operator<(const AutoUString& a, const AutoUString& b) noexcept {
    return Compare(a.begin(), a.end(), b.begin(), b.end()) < 0;
  }

  static int Compare(const Unit* a, const Unit* aEnd, const Unit* b, const Unit* bEnd) noexcept {
    using U = std::make_unsigned_t<Unit>;
    for (; a != aEnd && b != bEnd; ++a, ++b) {
      if (static_cast<U>(*a) != static_cast<U>(*b))
        return static_cast<U>(*a) < static_cast<U>(*b) ? -1 : 1;
    }
    if (a == aEnd) return b == bEnd ? 0 : -1;
    return 1;
  }

 private:
  Unit* InlineBuffer() noexcept { return reinterpret_cast<Unit*>(inline_); }
  const Unit* InlineBuffer() const noexcept { return reinterpret_cast<const Unit*>(inline_); }
  void ResetInline() noexcept {
    begin_ = end_ = InlineBuffer();
    capacity_ = kInlineBytes;
  }
  void FreeHeap() noexcept {
    if (!IsInline()) ::operator delete(begin_);
  }
  void Grow(std::size_t neededUnits) {
    const std::uint64_t neededBytes = neededUnits * sizeof(Unit);
    const std::uint64_t newCapacity = std::max(
        {static_cast<std::uint64_t>(size() * sizeof(Unit)) * 2, neededBytes, kInlineBytes});
    void* block = ::operator new(static_cast<std::size_t>(newCapacity));
    const std::size_t length = size();
    std::memcpy(block, begin_, length * sizeof(Unit));
    FreeHeap();
    begin_ = static_cast<Unit*>(block);
    end_ = begin_ + length;
    capacity_ = newCapacity;
  }
  void TakeFrom(AutoUString& other) noexcept {
    if (!other.IsInline()) {
      begin_ = other.begin_;
      end_ = other.end_;
      capacity_ = other.capacity_;
    } else {
      const std::size_t length = other.size();
      std::memcpy(inline_, other.inline_, length * sizeof(Unit));
      end_ = begin_ + length;
    }
    other.ResetInline();
  }

  Unit* begin_;
  Unit* end_;
  std::uint64_t capacity_;
  alignas(8) unsigned char inline_[kInlineBytes];
};

using UString8 = AutoUString<UTF8>;
