// Every transcoder direction on text that exercises each sequence length and the edges of the
// code space, fed whole, in two or three chunks cut anywhere and one unit at a time; and the
// malformed inputs each decoder must refuse, with what it delivered before refusing.
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

template <class Target, class Source>
void ExpectEverySplitGives(const Units<Source>& input, const Units<Target>& expected) {
  for (const auto& cuts : SplitsOf(input.size())) {
    SCOPED_TRACE(testing::PrintToString(cuts));
    Pipe<Target, Source> pipe;
    pipe.Feed(input, cuts);
    ASSERT_EQ(pipe.Output(), expected);
  }
}

// The three forms of one text, as the compiler encodes them.
struct Forms {
  const char* name;
  std::string utf8;
  std::u16string utf16;
  std::u32string utf32;
};
#define FORMS(text)                                       \
  Forms {                                                 \
#text, std::string(u8##text, sizeof(u8##text) - 1),   \
        std::u16string(u##text, sizeof(u##text) / 2 - 1), \
        std::u32string(U##text, sizeof(U##text) / 4 - 1)  \
  }

const Forms kTexts[] = {
    FORMS(""),
    FORMS("plain"),
    FORMS("\0"),
    FORMS("a\0b"),
    FORMS("\u007F\u0080"),
    FORMS("\u00E9\u07FF"),
    FORMS("\u0800\u20AC\uD7FF\uE000"),
    FORMS("\uFFFF"),
    FORMS("\U00010000\U0001F600"),
    FORMS("\U0010FFFF"),
    FORMS("x\u00E9\u20AC\U0001F600y\U0010FFFF\uFFFFz"),
};

TEST(StreamTranscoder, EveryDirectionGivesTheSameTextForEverySplit) {
  for (const Forms& text : kTexts) {
    SCOPED_TRACE(text.name);
    ExpectEverySplitGives<UTF8, UTF16>(text.utf16, text.utf8);
    ExpectEverySplitGives<UTF8, UTF32>(text.utf32, text.utf8);
    ExpectEverySplitGives<UTF16, UTF8>(text.utf8, text.utf16);
    ExpectEverySplitGives<UTF16, UTF32>(text.utf32, text.utf16);
    ExpectEverySplitGives<UTF32, UTF8>(text.utf8, text.utf32);
    ExpectEverySplitGives<UTF32, UTF16>(text.utf16, text.utf32);
  }
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
  struct Row {
    std::string bad;
    std::size_t validUnits;
  };
  const Row rows[] = {
      // overlong forms, surrogates and values past U+10FFFF, each at the edge of its lead byte
      {"\xC1\xBF", 0},
      {"\xE0\x9F\xBF", 0},
      {"\xF0\x8F\xBF\xBF", 0},
      {"\xED\xA0\x80", 0},
      {"\xF4\x90\x80\x80", 0},
      {"\xF5\x80\x80\x80", 0},
      {"\xFF", 0},
      // stray continuation bytes
      {"\x80", 0},
      {"\xBFzz", 0},
      {"\xC3\xA9\xA9", 2},
      // cut short at the end and in mid-text
      {"\xC3", 0},
      {"\xE2\x82", 0},
      {"\xF0\x9F\x98", 0},
      {"\xE2\x82z", 0},
      {"\xC3\xC3\xA9", 0},
      {"\xE2\x82\xAC\xF0\x9F\x98\xF0\x9F\x98\x80", 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.bad));
    ExpectRefused<UTF16, UTF8>(row.bad, row.validUnits);
    ExpectRefused<UTF32, UTF8>(row.bad, row.validUnits);
  }
}

TEST(StreamTranscoder, LoneSurrogatesAndValuesPastTheCodeSpaceAreRefused) {
  const std::u16string utf16Rows[] = {
      {0xD800}, {0xDBFF, u'z'}, {0xDC00}, {0xDFFF, 0xD800, 0xDC00}, {0xD800, 0xD800, 0xDC00},
  };
  for (const std::u16string& bad : utf16Rows) {
    SCOPED_TRACE(testing::PrintToString(bad));
    ExpectRefused<UTF8, UTF16>(bad);
    ExpectRefused<UTF32, UTF16>(bad);
  }
  const std::u32string utf32Rows[] = {
      {0xD800}, {0xDFFF}, {0x110000}, {0x7FFFFFFF}, {0xFFFFFFFF}, {0x10FFFF, 0xDC00, U'b'},
  };
  for (const std::u32string& bad : utf32Rows) {
    SCOPED_TRACE(testing::PrintToString(bad));
    const std::size_t validUnits = bad[0] == 0x10FFFF ? 1 : 0;
    ExpectRefused<UTF8, UTF32>(bad, validUnits);
    ExpectRefused<UTF16, UTF32>(bad, validUnits);
  }
}

TEST(StreamTranscoder, USAsciiPassesEverySevenBitByteAndRefusesTheRest) {
  std::string ascii;
  for (int byte = 0; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
  ExpectEverySplitGives<UTF8, USAscii>(ascii, ascii);
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    SCOPED_TRACE(byte);
    ExpectRefused<UTF8, USAscii>(std::string(1, static_cast<char>(byte)));
  }
}

}  // namespace
