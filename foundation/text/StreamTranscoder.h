// Streaming transcoders between the Unicode forms: receivers of one encoding that pass the same
// text, re-encoded, to a downstream receiver of another. Input may arrive split at any unit; an
// incomplete sequence is held until the next chunk. Malformed input throws InvalidTextEncoding.
#pragma once

#include "foundation/text/AutoUString.h"
#include "foundation/text/Encodings.h"
#include "foundation/text/UTextReceiver.h"

#include <cstdint>
#include <type_traits>

// A receiver of Source text that delivers Target text to a borrowed downstream receiver.
template <class Target, class Source>
class GenericTranscoder : public UTextReceiver<Source> {
 public:
  explicit GenericTranscoder(UTextReceiver<Target>& downstream) noexcept
      : downstream_(downstream) {}

 protected:
  [[nodiscard]] UTextReceiver<Target>& Downstream() const noexcept { return downstream_; }

 private:
  UTextReceiver<Target>& downstream_;
};

namespace TranscoderDetail {
// The part of a multi-unit sequence seen so far. For UTF-8: the bits collected, the bytes still
// to come and the range the next byte must lie in.
struct PendingSequence {
  char32_t bits = 0;
  std::uint8_t remaining = 0;
  std::uint8_t nextLow = 0;
  std::uint8_t nextHigh = 0;
};

// The directions the program converts in: UTF-8 to UTF-16 checks bytes, UTF-8 and UTF-32 meet at
// the locale border.
template <class Target, class Source>
inline constexpr bool kIsDirection =
    (std::is_same_v<Source, UTF8> &&
     (std::is_same_v<Target, UTF16> || std::is_same_v<Target, UTF32>)) ||
    (std::is_same_v<Target, UTF8> && std::is_same_v<Source, UTF32>);
}  // namespace TranscoderDetail

// The concrete transcoder; the target encoding comes first. Start and End are passed on; End
// with an incomplete sequence pending throws InvalidTextEncoding instead. On malformed input the
// text decoded before the fault has already been delivered downstream.
template <class Target, class Source>
class StreamTranscoder final : public GenericTranscoder<Target, Source> {
  static_assert(TranscoderDetail::kIsDirection<Target, Source>,
                "no transcoder exists for this pair of encodings");

 public:
  using SourceUnit = typename Source::Unit;
  using GenericTranscoder<Target, Source>::GenericTranscoder;

  void Start() override;
  void Receive(const SourceUnit* begin, const SourceUnit* end) override;
  void End() override;

  // True while a multi-unit sequence has begun but not ended.
  [[nodiscard]] bool HasIncompleteSequence() const noexcept { return pending_.remaining != 0; }

 private:
  TranscoderDetail::PendingSequence pending_;
};

extern template class StreamTranscoder<UTF8, UTF32>;
extern template class StreamTranscoder<UTF16, UTF8>;
extern template class StreamTranscoder<UTF32, UTF8>;

// Whole-text conversion through the stream transcoder of that direction.
template <class Target, class Source>
[[nodiscard]] AutoUString<Target> Transcode(const typename Source::Unit* begin,
                                            const typename Source::Unit* end) {
  UStringBuilder<Target> builder;
  // Where the target never needs more units than the source has, one block of that size holds
  // the whole result; a long text then costs one allocation instead of a doubling series. A
  // result that may still fit inline reserves nothing, so that short texts stay off the heap:
  // each source byte yields at least two thirds of a target byte (three UTF-8 bytes, one UTF-16
  // unit).
  if constexpr (sizeof(typename Target::Unit) >= sizeof(typename Source::Unit)) {
    const std::size_t units = static_cast<std::size_t>(end - begin);
    if (units * sizeof(typename Source::Unit) * 2 / 3 > AutoUString<Target>::kInlineBytes) {
      builder.Reserve(units);
    }
  }
  StreamTranscoder<Target, Source> transcoder(builder);
  transcoder.Start();
  transcoder.Receive(begin, end);
  transcoder.End();
  return builder.Take();
}
