// The malformed inputs each decoder must refuse, in two or three chunks cut anywhere and one unit
// at a time, with what it delivered before refusing and a clean restart after. Valid text in
// every direction is compared with ICU by fuzz/transcoder_fuzzer.cpp.
#include "foundation/text/StreamTranscoder.h"

#include "foundation/platform/StandardExceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class E>
using Units = std::basic_string<typename E::Unit>;

// A transcoder with its builder, fed through Start, Receive per chunk and End.
template <class Target, class Source>
struct Pipe {
  UStringBuilder<Target> builder;
  StreamTranscoder<Target, Source> transcoder{builder};

  // `cuts` are ascending offsets into `input` where a new chunk begins.
  void Feed(const Units<Source>& input, const std::vector<std::size_t>& cuts) {
    transcoder.Start();
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
      transcoder.Receive(input.data() + from, input.data() + cut);
      from = cut;
    }
    transcoder.Receive(input.data() + from, input.data() + input.size());
    transcoder.End();
  }
  [[nodiscard]] Units<Target> Output() const {
    return Units<Target>(builder.Text().begin(), builder.Text().end());
  }
};

// No cut, every pair of cuts (which includes every single cut and empty chunks), and a cut
// after every unit.
std::vector<std::vector<std::size_t>> SplitsOf(std::size_t length) {
  std::vector<std::vector<std::size_t>> splits{{}};
  for (std::size_t i = 0; i <= length; ++i) {
    for (std::size_t j = i; j <= length; ++j) splits.push_back({i, j});
  }
  std::vector<std::size_t> everyUnit;
  for (std::size_t i = 1; i < length; ++i) everyUnit.push_back(i);
  splits.push_back(everyUnit);
  return splits;
}

template <class E>
Units<E> Widened(const std::string& ascii) {
  return Units<E>(ascii.begin(), ascii.end());
}

// Every split of "ok" + `bad` throws InvalidTextEncoding, with the text before the fault (the
// first `validUnits` of `bad`) delivered before the throw; a new Start then converts cleanly,
// whatever was pending at the fault.
template <class Target, class Source>
void ExpectRefused(const Units<Source>& bad, std::size_t validUnits = 0) {
  const Units<Source> input = Widened<Source>("ok") + bad;
  Pipe<Target, Source> valid;
  valid.Feed(input.substr(0, 2 + validUnits), {});
  const Units<Target> delivered = valid.Output();
  for (const auto& cuts : SplitsOf(input.size())) {
    SCOPED_TRACE(testing::PrintToString(cuts));
    Pipe<Target, Source> pipe;
    EXPECT_THROW(pipe.Feed(input, cuts), InvalidTextEncoding);
    ASSERT_EQ(pipe.Output(), delivered);
    pipe.Feed(Widened<Source>("ok"), {});
    ASSERT_EQ(pipe.Output(), delivered + Widened<Target>("ok"));
  }
}

TEST(StreamTranscoder, MalformedUTF8IsRefused) {
  // Overlong forms, surrogates and values past U+10FFFF at the edge of each lead byte; stray
  // continuation bytes; sequences cut short at the end and in mid-text. A "|" ends the valid part.
  for (const std::string row :
       {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80", "\xFF", "\x80", "\xBFzz", "\xC3\xA9|\xA9", "\xC3", "\xE2\x82",
        "\xF0\x9F\x98", "\xE2\x82z", "\xC3\xC3\xA9", "\xE2\x82\xAC|\xF0\x9F\x98\xF0\x9F\x98\x80"}) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::size_t bar = row.find('|'), validUnits = bar == std::string::npos ? 0 : bar;
    const std::string bad = validUnits ? row.substr(0, bar) + row.substr(bar + 1) : row;
    ExpectRefused<UTF16, UTF8>(bad, validUnits);
    ExpectRefused<UTF32, UTF8>(bad, validUnits);
  }
}

TEST(StreamTranscoder, SurrogatesAndValuesPastTheCodeSpaceAreRefused) {
  const std::u32string utf32Rows[] = {
      {0xD800}, {0xDFFF}, {0x110000}, {0x7FFFFFFF}, {0xFFFFFFFF}, {0x10FFFF, 0xDC00, U'b'},
  };
  for (const std::u32string& bad : utf32Rows) {
    SCOPED_TRACE(testing::PrintToString(bad));
    const std::size_t validUnits = bad[0] == 0x10FFFF ? 1 : 0;
    ExpectRefused<UTF8, UTF32>(bad, validUnits);
  }
}

}  // namespace
