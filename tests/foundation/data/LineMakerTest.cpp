// Lines from a byte stream, whatever the cuts between the Receive calls.
#include "foundation/data/LineMaker.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// Writes what it is told as one transcript, e.g. "S0 D:a E1-3 D:b L4". Consecutive LineData
// pieces are joined, so the transcript does not depend on the cuts; an empty piece is a fault.
class LineRecorder : public LineReceiver {
 public:
  void StartLines(std::uint64_t position) override { Add("S" + std::to_string(position)); }
  void LineData(const char* begin, const char* end) override {
    if (begin == end) Add("EMPTY-PIECE");
    inData_ ? (void)transcript.append(begin, end) : Add("D:" + std::string(begin, end));
    inData_ = true;
  }
  void LineEnd(std::uint64_t first, std::uint64_t last) override {
    Add("E" + std::to_string(first) + "-" + std::to_string(last));
  }
  void EndLines(std::uint64_t position) override { Add("L" + std::to_string(position)); }
  std::string transcript;

 private:
  void Add(const std::string& event) {
    transcript += (transcript.empty() ? "" : " ") + event;
    inData_ = false;
  }
  bool inData_ = false;
};

// Feeds [0, i), [i, j) and [j, n) as three Receive calls, empty ones included.
void Feed(LineMaker& maker, const std::string& input, std::size_t i, std::size_t j,
          std::uint64_t position = 0) {
  const char* const base = input.data();
  maker.StartData(position);
  maker.Receive(base, base + i);
  maker.Receive(base + i, base + j);
  maker.Receive(base + j, base + input.size());
  maker.EndData();
}

TEST(LineMaker, EverySplitOfTheInputGivesTheSameLinesAndOffsets) {
  const struct {
    const char* input;
    const char* lines;
  } rows[] = {
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
  for (const auto& row : rows) {
    const std::string input = row.input;
    for (std::size_t i = 0; i <= input.size(); ++i) {
      for (std::size_t j = i; j <= input.size(); ++j) {
        SCOPED_TRACE(testing::Message() << '"' << row.input << "\" cut at " << i << ", " << j);
        LineRecorder recorder;
        LineMaker maker(recorder);
        Feed(maker, input, i, j);
        EXPECT_EQ(recorder.transcript, row.lines);
      }
    }
  }
}

}  // namespace
