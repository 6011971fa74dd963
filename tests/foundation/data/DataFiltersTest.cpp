// Stages of a byte stream: the ASCII case filter and Base64 in both directions, as filters and as
// line stages; the decoder's group-wise path against a character-wise reference wherever noise,
// padding or the end of the text falls.
#include "foundation/data/DataReceiver.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/data/AppendBase64.h"
#include "foundation/data/AsciiCaseFilters.h"
#include "foundation/data/Base64Decoder.h"
#include "foundation/data/Base64DecodingDataMaker.h"
#include "foundation/data/Base64Encoder.h"
#include "foundation/data/Base64EncodingLineMaker.h"
#include "foundation/platform/StandardExceptions.h"

namespace {

// Keeps the stream and the size of every piece, and notes bytes that arrive after EndData.
class RecordingReceiver : public DataReceiver {
 public:
  void StartData(std::uint64_t position) override {
    events += "start " + std::to_string(position) + ";";
  }
  void Receive(const char* begin, const char* end) override {
    if (ended) events += "data after end;";
    bytes.append(begin, end);
    pieceSizes.push_back(static_cast<std::size_t>(end - begin));
  }
  void EndData() override {
    events += "end;";
    ended = true;
  }

  std::string events;
  std::string bytes;
  std::vector<std::size_t> pieceSizes;
  bool ended = false;
};

// Filters `input` plus one more byte into room for `input` after two earlier bytes.
template <class F>
std::string FilterAll(const std::string& input) {
  const std::string more = input + '!';
  std::string buffer = "xy" + std::string(input.size(), '\0');
  DataFilter::Input in{more.data(), more.data() + more.size()};
  DataFilter::Output out{&buffer[0], &buffer[2], &buffer[0] + buffer.size()};
  F().Filter(in, out);
  EXPECT_EQ(std::string(in.begin, in.end), "!");
  EXPECT_EQ(out.end, &buffer[0] + buffer.size());
  EXPECT_EQ(buffer.substr(0, 2), "xy");
  return std::string(out.begin + 2, out.end);
}

TEST(AsciiCaseFilters, OnlyAsciiLettersChangeCaseAndOnlyWhatFitsIsCopied) {
  struct Row {
    std::string input, lowered;
  };
  // The neighbours of the letter ranges, NUL and bytes above 0x7F whose low seven bits are letters.
  const Row rows[] = {
      {"", ""},
      {"Hello, World 42!", "hello, world 42!"},
      {"@AZ[`az{", "@az[`az{"},
      {std::string("a\0B", 3), std::string("a\0b", 3)},
      {"\xC1\xE1\xDA\xFA\x80\xFF", "\xC1\xE1\xDA\xFA\x80\xFF"},
      {"\xC3\x89t\xC3\xA9", "\xC3\x89t\xC3\xA9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(FilterAll<Ascii::CaseLoweringFilter>(row.input), row.lowered);
  }
}

using Strings = std::vector<std::string>;

// Keeps each line with the offsets its LineEnd gave (first, last) and where the stream ended.
struct LineCollector : LineReceiver {
  void StartLines(std::uint64_t) override {}
  void LineData(const char* begin, const char* end) override { current.append(begin, end); }
  void LineEnd(std::uint64_t first, std::uint64_t last) override {
    lines.push_back(std::exchange(current, {}));
    ends.emplace_back(first, last);
  }
  void EndLines(std::uint64_t position) override { end = position; }
  Strings lines;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ends;
  std::string current;
  std::uint64_t end = 0;
};

// Every byte value, in an order that is not the alphabet's.
std::string Bytes(std::size_t size) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 37 + 11) % 256);
  return bytes;
}

std::string Encoded(const std::string& bytes) {
  std::string text = "x:";
  AppendBase64(bytes.data(), bytes.data() + bytes.size(), text);
  EXPECT_EQ(text.substr(0, 2), "x:");
  return text.substr(2);
}

LineCollector EncodeLines(const Strings& pieces) {
  LineCollector collector;
  Base64EncodingLineMaker maker(collector);
  maker.StartData(0);
  for (const std::string& piece : pieces) maker.Receive(piece.data(), piece.data() + piece.size());
  maker.EndData();
  EXPECT_EQ(collector.current, "") << "unterminated last line";
  return collector;
}

std::string DecodeLines(const Strings& lines) {
  RecordingReceiver sink;
  Base64DecodingDataMaker maker(sink);
  maker.StartLines(0);
  for (const std::string& line : lines) maker.LineData(line.data(), line.data() + line.size());
  maker.EndLines(0);
  EXPECT_EQ(sink.events, "start 0;end;");
  return sink.bytes;
}

// Runs a filter to the end with `room` bytes of output per call.
std::string RunFilter(DataFilter&& filter, const std::string& input, std::size_t room) {
  std::string result;
  std::vector<char> buffer(room);
  DataFilter::Input in{input.data(), input.data() + input.size()};
  while (!in.Empty() || !filter.IsFlushed()) {
    DataFilter::Output out{buffer.data(), buffer.data(), buffer.data() + room};
    in.Empty() ? filter.Flush(out) : filter.Filter(in, out);
    result.append(out.begin, out.end);
  }
  return result;
}

// Covers the empty last line after 48 bytes, "xx==" after 49, and a full 64-character last
// line after 47.
TEST(Base64, EveryLengthRoundTripsThroughLinesOf64Characters) {
  for (std::size_t size = 0; size <= 200; ++size) {
    SCOPED_TRACE(size);
    const std::string bytes = Bytes(size);
    const LineCollector collector = EncodeLines({bytes});
    ASSERT_EQ(collector.lines.size(), size / 48 + 1);
    std::string joined;
    for (std::size_t i = 0; i < collector.lines.size(); ++i) {
      const bool last = i + 1 == collector.lines.size();
      EXPECT_EQ(collector.lines[i].size(), last ? (size % 48 + 2) / 3 * 4 : 64);
      joined += collector.lines[i];
      EXPECT_EQ(collector.ends[i], std::make_pair(joined.size(), joined.size()));
    }
    EXPECT_EQ(collector.end, joined.size());
    EXPECT_EQ(joined, Encoded(bytes));
    EXPECT_EQ(DecodeLines(collector.lines), bytes);
  }
}

TEST(Base64, EncoderCutAnywhereAndDecoderFedALongNoisyLineGiveTheSameResult) {
  const std::string bytes = Bytes(150);
  const Strings whole = EncodeLines({bytes}).lines;
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    EXPECT_EQ(EncodeLines({bytes.substr(0, cut), bytes.substr(cut)}).lines, whole);
  }
  // One long line with noise in every alignment, so that more comes out than one buffer holds
  // (the fuzz target feeds the decoder in pieces, always less than that).
  std::string text;
  const std::string clean = Encoded(bytes);
  for (std::size_t i = 0; i < clean.size(); ++i) {
    text += clean[i];
    if (i % 7 == 3) text += ' ';
    if (i % 19 == 5) text += "\r\n*";
  }
  EXPECT_EQ(DecodeLines({text}), bytes);
}

TEST(Base64, FiltersGiveTheSameResultForAnyOutputRoom) {
  const std::string bytes = Bytes(100);
  for (std::size_t room = 1; room <= 8; ++room) {
    SCOPED_TRACE(room);
    if (room >= 4) {  // a flush may need four characters at once
      EXPECT_EQ(RunFilter(Base64Encoder(), bytes, room), Encoded(bytes));
    }
    EXPECT_EQ(RunFilter(Base64Decoder(), Encoded(bytes), room), bytes);
  }
}

TEST(Base64, TooLittleOutputRoomThrowsDataOverflow) {
  // The encoder's flush needs room for the last character and its padding together.
  const std::pair<std::string, std::size_t> tooSmall[] = {{"M", 2}, {"Ma", 1}, {"fooba", 1}};
  for (const auto& [plain, room] : tooSmall) {
    SCOPED_TRACE(plain);
    EXPECT_THROW(RunFilter(Base64Encoder(), plain, room), DataOverflow);
  }
  EXPECT_EQ(RunFilter(Base64Encoder(), "M", 3), "TQ==");

  // The decoder stops at a full output, but with no room at all it cannot go on.
  char byte = 0;
  DataFilter::Output none{&byte, &byte, &byte};
  DataFilter::Input in{"TQ", "TQ" + 2};
  EXPECT_THROW(Base64Decoder().Filter(in, none), DataOverflow);
  in = {"T", "T" + 1};
  Base64Decoder().Filter(in, none);
  EXPECT_TRUE(in.Empty());
}

// The decoder one character at a time, with the alphabet searched as text: skips what is not in
// it, and stops where the output is full and the next character completes a byte.
struct ReferenceDecoder {
  std::uint32_t bits = 0;
  unsigned count = 0;

  // One Filter call with `room` bytes of output from `at` on; true where it has to throw
  // DataOverflow.
  bool Filter(const std::string& text, std::size_t& at, std::string& out, std::size_t room) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t produced = 0;
    for (; at < text.size(); ++at) {
      const char* found = text[at] == '\0' ? nullptr : std::strchr(kAlphabet, text[at]);
      if (found == nullptr) continue;
      if (count >= 2 && produced == room) return produced == 0;
      bits = bits << 6 | static_cast<std::uint32_t>(found - kAlphabet);
      count += 6;
      if (count >= 8) {
        count -= 8;
        out += static_cast<char>(bits >> count);
        ++produced;
      }
    }
    return false;
  }
};

// Filters all of `text` with `room` bytes of output a call, checking after every call that the
// decoder consumed, produced and threw as the reference does.
void ExpectAsReference(const std::string& text, std::size_t room) {
  SCOPED_TRACE(room);
  Base64Decoder decoder;
  ReferenceDecoder reference;
  std::string decoded, expected;
  std::vector<char> buffer(room);
  DataFilter::Input in{text.data(), text.data() + text.size()};
  std::size_t at = 0;
  while (!in.Empty()) {
    DataFilter::Output out{buffer.data(), buffer.data(), buffer.data() + room};
    const bool overflows = reference.Filter(text, at, expected, room);
    if (overflows) {
      ASSERT_THROW(decoder.Filter(in, out), DataOverflow);
    } else {
      decoder.Filter(in, out);
    }
    decoded.append(out.begin, out.end);
    ASSERT_EQ(decoded, expected);
    ASSERT_EQ(static_cast<std::size_t>(in.begin - text.data()), at);
    if (overflows) return;
  }
}

TEST(Base64, DecoderMatchesTheReferenceWithNoiseAndPaddingAtEveryOffset) {
  const std::string clean = Encoded(Bytes(45));  // 60 characters, no padding
  // Padding, blanks, line ends, bytes outside the alphabet and one more character of it, which
  // shifts the groups after it.
  const std::string noises[] = {"=",       "==", " ",    "\n",   "\r\n", "*",
                                "-_",      ".",  "\x80", "\xFF", "A",    std::string(1, '\0'),
                                "\t\t\t\t"};
  for (const std::string& noise : noises) {
    for (std::size_t at = 0; at <= clean.size(); ++at) {
      const std::string text = clean.substr(0, at) + noise + clean.substr(at);
      SCOPED_TRACE(testing::PrintToString(text));
      for (const std::size_t room : {1, 2, 3, 4, 5, 6, 7, 8, 80}) ExpectAsReference(text, room);
    }
  }
}

TEST(Base64, DecoderMatchesTheReferenceOnPaddedAndCutTexts) {
  // Padded encodings run together (decoding goes on after "="), and a text cut after every
  // character, which leaves 0, 6, 12 or 18 bits that make no byte.
  std::string padded;
  for (std::size_t size = 1; size <= 6; ++size) padded += Encoded(Bytes(size));
  const std::string clean = Encoded(Bytes(48));
  for (const std::string& whole : {padded, clean}) {
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      const std::string text = whole.substr(0, length);
      SCOPED_TRACE(testing::PrintToString(text));
      for (const std::size_t room : {1, 3, 4, 7, 80}) ExpectAsReference(text, room);
    }
  }
}

TEST(Base64, NoOutputRoomThrowsOnlyWhereAByteIsDue) {
  // Each character that is not in the alphabet is skipped even then; the first one that would
  // complete a byte stops the decoder with its input left there.
  for (const std::string text : {"", "*", "T", "=T", "TQ", "T=Q", " \nTQ", "TQ==", "====TQ"}) {
    SCOPED_TRACE(testing::PrintToString(text));
    ExpectAsReference(text, 0);
  }
}

}  // namespace
