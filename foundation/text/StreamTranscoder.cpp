#include "foundation/text/StreamTranscoder.h"

#include "foundation/platform/StandardExceptions.h"

#include <cstddef>

namespace {

using TranscoderDetail::PendingSequence;

constexpr char32_t kMaxCodePoint = 0x10FFFF;

[[nodiscard]] constexpr bool IsHighSurrogate(char32_t value) noexcept {
  return value >= 0xD800 && value <= 0xDBFF;
}
[[nodiscard]] constexpr bool IsLowSurrogate(char32_t value) noexcept {
  return value >= 0xDC00 && value <= 0xDFFF;
}

// Collects encoded units on the stack and hands them downstream in chunks, so that a long text
// costs one downstream call per buffer rather than one per character.
template <class Target>
class OutputBuffer {
 public:
  using Unit = typename Target::Unit;

  explicit OutputBuffer(UTextReceiver<Target>& downstream) noexcept
      : downstream_(downstream), end_(units_) {}
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // `codePoint` is a Unicode scalar value; the decoders have checked it.
  void Put(char32_t codePoint) {
    if (static_cast<std::size_t>(units_ + kUnits - end_) < kMaxUnitsPerCodePoint) Flush();
    end_ = Encode(codePoint, end_);
  }

  void Flush() {
    if (end_ == units_) return;
    Unit* const filled = end_;
    end_ = units_;
    downstream_.Receive(units_, filled);
  }

  // What was decoded before the fault stays with the receiver.
  [[noreturn]] void FlushAndFail() {
    Flush();
    throw InvalidTextEncoding();
  }

 private:
  static constexpr std::size_t kUnits = 256;
  static constexpr std::size_t kMaxUnitsPerCodePoint = 4 / sizeof(Unit);

  static Unit* Encode(char32_t codePoint, Unit* out) noexcept {
    if constexpr (std::is_same_v<Target, UTF8>) {
      if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
      } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | (codePoint >> 6));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
      } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (codePoint >> 12));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
      } else {
        *out++ = static_cast<char>(0xF0 | (codePoint >> 18));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
      }
    } else if constexpr (std::is_same_v<Target, UTF16>) {
      if (codePoint < 0x10000) {
        *out++ = static_cast<char16_t>(codePoint);
      } else {
        const char32_t offset = codePoint - 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (offset >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
      }
    } else {
      *out++ = codePoint;
    }
    return out;
  }

  UTextReceiver<Target>& downstream_;
  Unit units_[kUnits];
  Unit* end_;
};

// Begins a multi-byte UTF-8 sequence at `lead`, with the well-formed ranges of the Unicode
// standard: the second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
[[nodiscard]] bool BeginUTF8Sequence(std::uint8_t lead, PendingSequence& pending) noexcept {
  struct Lead {
    std::uint8_t first, last, remaining, mask, nextLow, nextHigh;
  };
  static constexpr Lead kLeads[] = {
      {0xC2, 0xDF, 1, 0x1F, 0x80, 0xBF}, {0xE0, 0xE0, 2, 0x0F, 0xA0, 0xBF},
      {0xE1, 0xEC, 2, 0x0F, 0x80, 0xBF}, {0xED, 0xED, 2, 0x0F, 0x80, 0x9F},
      {0xEE, 0xEF, 2, 0x0F, 0x80, 0xBF}, {0xF0, 0xF0, 3, 0x07, 0x90, 0xBF},
      {0xF1, 0xF3, 3, 0x07, 0x80, 0xBF}, {0xF4, 0xF4, 3, 0x07, 0x80, 0x8F},
  };
  for (const Lead& row : kLeads) {
    if (lead >= row.first && lead <= row.last) {
      pending.bits = lead & row.mask;
      pending.remaining = row.remaining;
      pending.nextLow = row.nextLow;
      pending.nextHigh = row.nextHigh;
      return true;
    }
  }
  return false;
}

// Decodes a two- or three-byte sequence that lies whole in [p, end) without going through the
// pending state: the common case of accented and CJK text. Returns the byte after it, or null to
// leave the byte to the general path (four-byte sequences, malformed or split input).
template <class Target>
[[nodiscard]] const char* DecodeWholeUTF8Sequence(const char* p, const char* end,
                                                  OutputBuffer<Target>& out) {
  const auto lead = static_cast<std::uint8_t>(p[0]);
  const std::ptrdiff_t available = end - p;
  if (lead >= 0xC2 && lead <= 0xDF && available >= 2) {
    const auto second = static_cast<std::uint8_t>(p[1]);
    if ((second & 0xC0) != 0x80) return nullptr;
    out.Put(static_cast<char32_t>((lead & 0x1F) << 6 | (second & 0x3F)));
    return p + 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && available >= 3) {
    const auto second = static_cast<std::uint8_t>(p[1]);
    const auto third = static_cast<std::uint8_t>(p[2]);
    // Overlong forms below E0 A0 and surrogates from ED A0 are left to the general path to refuse.
    const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
    const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
    if (second < low || second > high || (third & 0xC0) != 0x80) return nullptr;
    out.Put(static_cast<char32_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F)));
    return p + 3;
  }
  return nullptr;
}

template <class Target>
void DecodeUTF8(PendingSequence& pending, const char* begin, const char* end,
                OutputBuffer<Target>& out) {
  for (const char* p = begin; p != end; ++p) {
    const auto byte = static_cast<std::uint8_t>(*p);
    if (pending.remaining == 0) {
      if (byte < 0x80) {
        out.Put(byte);
      } else if (const char* next = DecodeWholeUTF8Sequence(p, end, out)) {
        p = next - 1;
      } else if (!BeginUTF8Sequence(byte, pending)) {
        out.FlushAndFail();
      }
      continue;
    }
    if (byte < pending.nextLow || byte > pending.nextHigh) {
      pending = PendingSequence();
      out.FlushAndFail();
    }
    pending.bits = (pending.bits << 6) | (byte & 0x3F);
    pending.nextLow = 0x80;
    pending.nextHigh = 0xBF;
    if (--pending.remaining == 0) out.Put(pending.bits);
  }
}

template <class Target>
void DecodeUTF32(const char32_t* begin, const char32_t* end, OutputBuffer<Target>& out) {
  for (const char32_t* p = begin; p != end; ++p) {
    if (*p > kMaxCodePoint || IsHighSurrogate(*p) || IsLowSurrogate(*p)) out.FlushAndFail();
    out.Put(*p);
  }
}

}  // namespace

template <class Target, class Source>
void StreamTranscoder<Target, Source>::Start() {
  pending_ = TranscoderDetail::PendingSequence();
  this->Downstream().Start();
}

template <class Target, class Source>
void StreamTranscoder<Target, Source>::Receive(const SourceUnit* begin, const SourceUnit* end) {
  OutputBuffer<Target> out(this->Downstream());
  if constexpr (std::is_same_v<Source, UTF8>) {
    DecodeUTF8(pending_, begin, end, out);
  } else {
    DecodeUTF32(begin, end, out);
  }
  out.Flush();
}

template <class Target, class Source>
void StreamTranscoder<Target, Source>::End() {
  if (HasIncompleteSequence()) {
    pending_ = TranscoderDetail::PendingSequence();
    throw InvalidTextEncoding();
  }
  this->Downstream().End();
}

template class StreamTranscoder<UTF8, UTF32>;
template class StreamTranscoder<UTF16, UTF8>;
template class StreamTranscoder<UTF32, UTF8>;
