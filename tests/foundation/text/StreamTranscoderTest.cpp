// The malformed inputs each decoder must refuse, in two or three chunks cut anywhere and one unit
// at a time, with what it delivered before refusing and a clean restart after; the UTF-8
// decoder's block-wise ASCII path against a plain reference decoder wherever a block may end.
// Valid text in every direction is compared with ICU by fuzz/transcoder_fuzzer.cpp.
#include "foundation/text/StreamTranscoder.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/AsciiBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
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

// The code points of `text` up to its first ill-formed or cut-short sequence, and whether that
// was all of it: decoded from the bit patterns, then checked for the shortest form, surrogates
// and U+10FFFF, where the decoder checks byte ranges instead.
struct ReferenceResult {
  std::u32string codePoints;
  bool wellFormed = true;
};

ReferenceResult ReferenceDecode(const std::string& text) {
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  ReferenceResult result;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    bool good = length != 0 && i + length <= text.size();
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; good && k < length; ++k) {
      const auto byte = static_cast<unsigned char>(text[i + k]);
      good = (byte & 0xC0) == 0x80;
      codePoint = codePoint << 6 | (byte & 0x3F);
    }
    good = good && codePoint >= kSmallest[length] && codePoint <= 0x10FFFF &&
           (codePoint < 0xD800 || codePoint > 0xDFFF);
    if (!good) {
      result.wellFormed = false;
      break;
    }
    result.codePoints += codePoint;
    i += length;
  }
  return result;
}

template <class Target>
Units<Target> Encoded(const std::u32string& codePoints) {
  if constexpr (std::is_same_v<Target, UTF32>) {
    return codePoints;
  } else {
    std::u16string units;
    for (const char32_t c : codePoints) {
      if (c < 0x10000) {
        units += static_cast<char16_t>(c);
      } else {
        units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      }
    }
    return units;
  }
}

// `input` whole and cut once at every offset gives the reference's units, or for ill-formed text
// throws after delivering the units before the fault.
template <class Target>
void ExpectAsReference(const std::string& input) {
  const ReferenceResult reference = ReferenceDecode(input);
  const Units<Target> expected = Encoded<Target>(reference.codePoints);
  for (std::size_t cut = 0; cut <= input.size(); ++cut) {
    SCOPED_TRACE(cut);
    Pipe<Target, UTF8> pipe;
    if (reference.wellFormed) {
      pipe.Feed(input, {cut});
    } else {
      EXPECT_THROW(pipe.Feed(input, {cut}), InvalidTextEncoding);
    }
    ASSERT_EQ(pipe.Output(), expected);
  }
}

std::string Ascii(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(0x20 + (i * 7) % 0x5F);
  return text;
}

TEST(StreamTranscoder, AsciiRunsOfEveryLengthBeforeAMultiByteCharacter) {
  // The smallest and largest character of each length, and the neighbours of the surrogates.
  const std::string characters[] = {"\xC2\x80",         "\xC3\xA9",        "\xDF\xBF",
                                    "\xE0\xA0\x80",     "\xE2\x82\xAC",    "\xED\x9F\xBF",
                                    "\xEE\x80\x80",     "\xEF\xBF\xBF",    "\xF0\x90\x80\x80",
                                    "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"};
  for (std::size_t run = 0; run < 2 * AsciiBlock::kBytes; ++run) {
    for (const std::string& character : characters) {
      for (const std::size_t tail : {0, 1, 16, 17}) {
        const std::string input = Ascii(run) + character + Ascii(tail);
        SCOPED_TRACE(testing::PrintToString(input));
        ASSERT_TRUE(ReferenceDecode(input).wellFormed);
        ExpectAsReference<UTF16>(input);
        ExpectAsReference<UTF32>(input);
      }
    }
  }
}

TEST(StreamTranscoder, MalformedOrCutSequencesAtEveryBlockOffset) {
  // Each placed after 0 to 31 ASCII bytes, so that it starts at every offset of a block and
  // straddles a block's end, then followed by nothing (cut short at the end of the text), by
  // a short tail, and by more than a block.
  const std::string sequences[] = {
      "\x80",         "\xBF",          "\xC0\xAF",         "\xC1\xBF",
      "\xC3",         "\xC3z",         "\xC3\xC3\xA9",     "\xE0\x9F\xBF",
      "\xE2\x82",     "\xE2\x82z",     "\xED\xA0\x80",     "\xF0\x8F\xBF\xBF",
      "\xF0\x9F\x98", "\xF0\x9F\x98z", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
      "\xFF"};
  for (std::size_t run = 0; run < 2 * AsciiBlock::kBytes; ++run) {
    for (const std::string& sequence : sequences) {
      for (const std::size_t tail : {0, 3, 20}) {
        const std::string input = Ascii(run) + sequence + Ascii(tail);
        SCOPED_TRACE(testing::PrintToString(input));
        ASSERT_FALSE(ReferenceDecode(input).wellFormed);
        ExpectAsReference<UTF16>(input);
        ExpectAsReference<UTF32>(input);
      }
    }
  }
}

TEST(StreamTranscoder, LongTextMatchesTheReference) {
  // Longer than the decoder's output buffer, so that its flushes fall inside ASCII blocks and
  // characters alike.
  std::string input;
  const std::string pieces[] = {
      Ascii(37), "\xC3\xA9", Ascii(3), "\xE8\xAF\xB7\xE4\xBF\x9D", "\xF0\x9F\x98\x80", Ascii(16)};
  for (std::size_t i = 0; input.size() < 2000; ++i) input += pieces[i * 7 % 6];
  ExpectAsReference<UTF16>(input);
  ExpectAsReference<UTF32>(input);
}

// Each block form reads only its sixteen bytes: the blocks below lie at the very end of their
// allocation, so that a read past them is caught by the address sanitizer.
std::unique_ptr<char[]> Block(const std::string& bytes) {
  auto block = std::make_unique<char[]>(AsciiBlock::kBytes);
  std::copy(bytes.begin(), bytes.end(), block.get());
  return block;
}

TEST(AsciiBlock, PrefixLengthStopsAtTheFirstByteFromTheHighHalf) {
  for (std::size_t position = 0; position <= AsciiBlock::kBytes; ++position) {
    for (const char high : {'\x80', '\xC3', '\xFF'}) {
      std::string bytes = Ascii(AsciiBlock::kBytes);
      bytes[0] = '\0';
      if (position < AsciiBlock::kBytes) bytes[position] = high;
      // A second high byte later must not move the answer.
      if (position + 3 < AsciiBlock::kBytes) bytes[position + 3] = '\x80';
      SCOPED_TRACE(testing::PrintToString(bytes));
      const auto block = Block(bytes);
      EXPECT_EQ(AsciiBlock::PortablePrefixLength(block.get()), position);
      EXPECT_EQ(AsciiBlock::PrefixLength(block.get()), position);
    }
  }
}

template <class Unit>
void ExpectWidened(const std::string& bytes) {
  SCOPED_TRACE(sizeof(Unit));
  const auto block = Block(bytes);
  std::basic_string<Unit> expected;
  for (const char byte : bytes) expected += static_cast<Unit>(static_cast<unsigned char>(byte));
  std::basic_string<Unit> portable(AsciiBlock::kBytes, Unit{0x5A5A});
  std::basic_string<Unit> chosen(AsciiBlock::kBytes, Unit{0x5A5A});
  AsciiBlock::PortableWiden(block.get(), &portable[0]);
  AsciiBlock::Widen(block.get(), &chosen[0]);
  EXPECT_EQ(portable, expected);
  EXPECT_EQ(chosen, expected);
}

TEST(AsciiBlock, WidenGivesEachByteItsOwnUnitInOrder) {
  for (std::size_t start = 0; start < 256; start += AsciiBlock::kBytes) {
    std::string bytes;
    for (std::size_t i = 0; i < AsciiBlock::kBytes; ++i) bytes += static_cast<char>(start + i);
    ExpectWidened<char16_t>(bytes);
    ExpectWidened<char32_t>(bytes);
  }
}

}  // namespace
