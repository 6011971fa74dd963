#include "foundation/text/StreamTranscoder.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/AsciiBlock.h"

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

// Writes `codePoint`, a Unicode scalar value, as units of Target at `out`; returns the unit after.
template <class Target>
typename Target::Unit* Encode(char32_t codePoint, typename Target::Unit* out) noexcept {
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

// Collects encoded units on the stack and hands them downstream in chunks, so that a long text
// costs one downstream call per buffer rather than one per character. A decoder's fast loop may
// write at Room()'s pointer itself and hand back the new end with Advance().
template <class Target>
class OutputBuffer {
 public:
  using Unit = typename Target::Unit;

  explicit OutputBuffer(UTextReceiver<Target>& downstream) noexcept
      : downstream_(downstream), end_(units_) {}
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // `codePoint` is a Unicode scalar value; the decoders have checked it.
  void Put(char32_t codePoint) { end_ = Encode<Target>(codePoint, Room(kMaxUnitsPerCodePoint)); }

  // Where the next units go, flushing first unless `units` of them fit.
  [[nodiscard]] Unit* Room(std::size_t units) {
    if (static_cast<std::size_t>(Limit() - end_) < units) Flush();
    return end_;
  }
  [[nodiscard]] const Unit* Limit() const noexcept { return units_ + kUnits; }
  void Advance(Unit* newEnd) noexcept { end_ = newEnd; }

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

[[nodiscard]] constexpr bool IsContinuation(std::uint8_t byte) noexcept {
  return (byte & 0xC0) == 0x80;
}

// Decodes the multi-byte sequence at p when it lies whole in [p, end) and is well formed, with
// the ranges of BeginUTF8Sequence. Returns the byte after it, or null to leave the lead to the
// general path, which refuses it or keeps it pending until the next chunk.
[[nodiscard]] inline const char* DecodeWholeUTF8Sequence(const char* p, const char* end,
                                                         char32_t& codePoint) noexcept {
  const auto lead = static_cast<std::uint8_t>(p[0]);
  const std::ptrdiff_t available = end - p;
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (available < 2) return nullptr;
    const auto second = static_cast<std::uint8_t>(p[1]);
    if (!IsContinuation(second)) return nullptr;
    codePoint = static_cast<char32_t>((lead & 0x1F) << 6 | (second & 0x3F));
    return p + 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (available < 3) return nullptr;
    const auto second = static_cast<std::uint8_t>(p[1]);
    const auto third = static_cast<std::uint8_t>(p[2]);
    const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
    const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
    if (second < low || second > high || !IsContinuation(third)) return nullptr;
    codePoint = static_cast<char32_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F));
    return p + 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (available < 4) return nullptr;
    const auto second = static_cast<std::uint8_t>(p[1]);
    const auto third = static_cast<std::uint8_t>(p[2]);
    const auto fourth = static_cast<std::uint8_t>(p[3]);
    const std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high || !IsContinuation(third) || !IsContinuation(fourth)) {
      return nullptr;
    }
    codePoint = static_cast<char32_t>((lead & 0x07) << 18 | (second & 0x3F) << 12 |
                                      (third & 0x3F) << 6 | (fourth & 0x3F));
    return p + 4;
  }
  return nullptr;
}

// Decodes from p while nothing is pending: ASCII a block at a time where 16 bytes remain, other
// characters whole. Returns where it stopped: at end, or at a lead byte that is malformed or
// whose sequence the chunk cuts.
template <class Target>
[[nodiscard]] const char* DecodeWholeCharacters(const char* p, const char* end,
                                                OutputBuffer<Target>& out) {
  using Unit = typename Target::Unit;
  // Room for a widened block, which also covers any one character.
  constexpr std::size_t kRoom = AsciiBlock::kBytes;
  Unit* o = out.Room(kRoom);
  while (p != end) {
    if (static_cast<std::size_t>(out.Limit() - o) < kRoom) {
      out.Advance(o);
      o = out.Room(kRoom);
    }
    const auto lead = static_cast<std::uint8_t>(*p);
    if (lead < 0x80) {
      if (static_cast<std::size_t>(end - p) < AsciiBlock::kBytes) {
        *o++ = static_cast<Unit>(lead);
        ++p;
        continue;
      }
      // Widens all sixteen bytes but keeps only the ASCII ones; the next write covers the rest.
      const std::size_t ascii = AsciiBlock::PrefixLength(p);
      AsciiBlock::Widen(p, o);
      p += ascii;
      o += ascii;
      continue;
    }
    char32_t codePoint = 0;
    const char* const next = DecodeWholeUTF8Sequence(p, end, codePoint);
    if (next == nullptr) break;
    o = Encode<Target>(codePoint, o);
    p = next;
  }
  out.Advance(o);
  return p;
}

// Takes one byte into the pending sequence, refusing a byte outside the range allowed there.
template <class Target>
void ContinueUTF8Sequence(PendingSequence& pending, std::uint8_t byte, OutputBuffer<Target>& out) {
  if (byte < pending.nextLow || byte > pending.nextHigh) {
    pending = PendingSequence();
    out.FlushAndFail();
  }
  pending.bits = (pending.bits << 6) | (byte & 0x3F);
  pending.nextLow = 0x80;
  pending.nextHigh = 0xBF;
  if (--pending.remaining == 0) out.Put(pending.bits);
}

template <class Target>
void DecodeUTF8(PendingSequence& pending, const char* p, const char* end,
                OutputBuffer<Target>& out) {
  while (p != end) {
    if (pending.remaining != 0) {
      ContinueUTF8Sequence(pending, static_cast<std::uint8_t>(*p++), out);
      continue;
    }
    p = DecodeWholeCharacters(p, end, out);
    if (p == end) break;
    if (!BeginUTF8Sequence(static_cast<std::uint8_t>(*p), pending)) out.FlushAndFail();
    ++p;
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
