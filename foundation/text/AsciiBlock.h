// Sixteen bytes of text at a time: how many of them begin as ASCII, and the same bytes widened to
// wider code units. The UTF-8 decoder runs its ASCII stretches through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace AsciiBlock {

inline constexpr std::size_t kBytes = 16;

// Both forms below read exactly kBytes bytes from `block`; the caller makes sure they exist.

// The number of ASCII bytes (below 0x80) the block starts with, 16 when all are: eight bytes a
// word, in any byte order.
[[nodiscard]] inline std::size_t PortablePrefixLength(const char* block) noexcept {
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  for (std::size_t word = 0; word < kBytes; word += 8) {
    std::uint64_t bytes;
    std::memcpy(&bytes, block + word, 8);
    if ((bytes & kHighBits) == 0) continue;
    std::size_t index = word;
    while (static_cast<unsigned char>(block[index]) < 0x80) ++index;
    return index;
  }
  return kBytes;
}

// Each of the block's bytes as one unit, for ASCII bytes their code point.
template <class Unit>
inline void PortableWiden(const char* block, Unit* out) noexcept {
  for (std::size_t i = 0; i < kBytes; ++i) out[i] = static_cast<unsigned char>(block[i]);
}

#if defined(__SSE2__)
[[nodiscard]] inline std::size_t PrefixLength(const char* block) noexcept {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
  const auto highBits = static_cast<unsigned>(_mm_movemask_epi8(bytes));
  return highBits == 0 ? kBytes : static_cast<std::size_t>(__builtin_ctz(highBits));
}

template <class Unit>
inline void Widen(const char* block, Unit* out) noexcept {
  static_assert(sizeof(Unit) == 2 || sizeof(Unit) == 4, "only 16- and 32-bit units widen");
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = _mm_unpacklo_epi8(bytes, zero);
  const __m128i high = _mm_unpackhi_epi8(bytes, zero);
  auto* target = reinterpret_cast<__m128i*>(out);
  if constexpr (sizeof(Unit) == 2) {
    _mm_storeu_si128(target, low);
    _mm_storeu_si128(target + 1, high);
  } else {
    _mm_storeu_si128(target, _mm_unpacklo_epi16(low, zero));
    _mm_storeu_si128(target + 1, _mm_unpackhi_epi16(low, zero));
    _mm_storeu_si128(target + 2, _mm_unpacklo_epi16(high, zero));
    _mm_storeu_si128(target + 3, _mm_unpackhi_epi16(high, zero));
  }
}
#else
[[nodiscard]] inline std::size_t PrefixLength(const char* block) noexcept {
  return PortablePrefixLength(block);
}

template <class Unit>
inline void Widen(const char* block, Unit* out) noexcept {
  PortableWiden(block, out);
}
#endif

}  // namespace AsciiBlock
