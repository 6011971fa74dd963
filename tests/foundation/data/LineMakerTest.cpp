#include "foundation/data/LineMaker.h"

#include <string>

#include <gtest/gtest.h>

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

}  // namespace
