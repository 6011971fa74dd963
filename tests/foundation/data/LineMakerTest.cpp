#include "foundation/data/LineMaker.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "foundation/data/AsciiCaseFilters.h"
#include "foundation/data/DataFilterer.h"
#include "tests/foundation/data/LineRecorder.h"

namespace {

struct Row {
  const char* input;
  const char* lines;
};

const Row kRows[] = {
    {"", "S0 L0"},
    {"a", "S0 D:a L1"},
    {"a\r\nb", "S0 D:a E1-3 D:b L4"},
    {"a\n\rb", "S0 D:a E1-2 E2-3 D:b L4"},
    {"a\rb", "S0 D:a E1-2 D:b L3"},
    {"ab\ncd\n", "S0 D:ab E2-3 D:cd E5-6 L6"},
    {"x\r", "S0 D:x E1-2 L2"},
    {"\r\n\r\n", "S0 E0-2 E2-4 L4"},
    {"\r\r\n", "S0 E0-1 E1-3 L3"},
    {"\n\n\r", "S0 E0-1 E1-2 E2-3 L3"},
    {"\r\n\n\r\r", "S0 E0-2 E2-3 E3-4 E4-5 L5"},
    {"head\r\n\r\nbody one\nlast", "S0 D:head E4-6 E6-8 D:body one E16-17 D:last L21"},
};

// Feeds [0, i), [i, j) and [j, n) as three Receive calls, empty ones included.
std::string LinesOf(const std::string& input, std::size_t i, std::size_t j) {
  LineRecorder recorder;
  LineMaker maker(recorder);
  const char* const base = input.data();
  maker.StartData(0);
  maker.Receive(base, base + i);
  maker.Receive(base + i, base + j);
  maker.Receive(base + j, base + input.size());
  maker.EndData();
  return recorder.transcript;
}

TEST(LineMaker, EverySplitOfTheInputGivesTheSameLinesAndOffsets) {
  for (const Row& row : kRows) {
    const std::string input = row.input;
    for (std::size_t i = 0; i <= input.size(); ++i) {
      for (std::size_t j = i; j <= input.size(); ++j) {
        SCOPED_TRACE(testing::Message() << '"' << row.input << "\" cut at " << i << ", " << j);
        EXPECT_EQ(LinesOf(input, i, j), row.lines);
      }
    }
  }
}

TEST(LineMaker, OffsetsCountFromTheStartOfEachStream) {
  LineRecorder recorder;
  LineMaker maker(recorder);
  const std::string first = "ab\r", second = "c\n";
  maker.StartData(0);
  maker.Receive(first.data(), first.data() + first.size());
  maker.EndData();
  maker.StartData(100);
  maker.Receive(second.data(), second.data() + second.size());
  maker.EndData();
  EXPECT_EQ(recorder.transcript, "S0 D:ab E2-3 L3 S0 D:c E1-2 L2");
}

// Line data is handed out from the caller's own bytes, not from a copy.
class RangeCheckingReceiver : public LineReceiver {
 public:
  RangeCheckingReceiver(const char* begin, const char* end) : begin_(begin), end_(end) {}
  void StartLines(std::uint64_t) override {}
  void LineData(const char* begin, const char* end) override {
    EXPECT_TRUE(begin >= begin_ && end <= end_ && begin < end);
  }
  void LineEnd(std::uint64_t, std::uint64_t) override {}
  void EndLines(std::uint64_t) override {}

 private:
  const char* begin_;
  const char* end_;
};

TEST(LineMaker, LineDataPointsIntoTheCallersBytes) {
  const std::string input = "one\r\ntwo\n\rthree";
  RangeCheckingReceiver receiver(input.data(), input.data() + input.size());
  LineMaker maker(receiver);
  maker.StartData(0);
  maker.Receive(input.data(), input.data() + input.size());
  maker.EndData();
}

// Rebuilds the stream from its lines and checks each terminator against the original bytes:
// CR, LF or CR LF, never a CR whose LF was reported apart, never a terminator inside line data.
class StreamRebuilder : public LineRecorder {
 public:
  explicit StreamRebuilder(const std::string& original) : original_(original) {}
  void LineData(const char* begin, const char* end) override {
    LineRecorder::LineData(begin, end);
    for (const char* p = begin; p != end; ++p) EXPECT_TRUE(*p != '\r' && *p != '\n');
    rebuilt.append(begin, end);
  }
  void LineEnd(std::uint64_t first, std::uint64_t last) override {
    LineRecorder::LineEnd(first, last);
    ASSERT_EQ(first, rebuilt.size());
    const std::string terminator = original_.substr(first, last - first);
    EXPECT_TRUE(terminator == "\r" || terminator == "\n" || terminator == "\r\n") << first;
    if (terminator == "\r") {
      EXPECT_NE(original_[last], '\n') << first;
    }
    rebuilt += terminator;
  }
  void EndLines(std::uint64_t position) override {
    LineRecorder::EndLines(position);
    EXPECT_EQ(position, rebuilt.size());
  }

  std::string rebuilt;

 private:
  const std::string& original_;
};

TEST(LineMaker, RandomBytesInRandomPiecesSplitLikeOnePiece) {
  std::mt19937 random(20240607);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    // Line breaks are made frequent so that every pairing of CR and LF occurs often.
    std::string input(std::uniform_int_distribution<std::size_t>(0, 3000)(random), '\0');
    for (char& byte : input) {
      const unsigned pick = random() % 8;
      byte = pick == 0 ? '\r' : pick == 1 ? '\n' : static_cast<char>(random() % 256);
    }
    std::string lowered = input;
    for (char& byte : lowered)
      byte = byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte;

    LineRecorder whole;
    LineMaker wholeMaker(whole);
    wholeMaker.StartData(0);
    wholeMaker.Receive(lowered.data(), lowered.data() + lowered.size());
    wholeMaker.EndData();

    StreamRebuilder pieces(lowered);
    LineMaker maker(pieces);
    Ascii::CaseLoweringFilter filter;
    DataFilterer filterer(maker, filter);
    filterer.StartData(0);
    for (std::size_t at = 0; at < input.size();) {
      const std::size_t size = std::min<std::size_t>(input.size() - at, random() % 1500);
      filterer.Receive(input.data() + at, input.data() + at + size);
      at += size;
    }
    filterer.EndData();

    EXPECT_EQ(pieces.rebuilt, lowered);
    EXPECT_EQ(pieces.transcript, whole.transcript);
  }
}

}  // namespace
