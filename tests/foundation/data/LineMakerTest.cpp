// Lines from a byte stream, and messages (a header up to the first empty line, then a body) from
// those lines, whatever the cuts between the Receive calls.
#include "foundation/data/LineMaker.h"

#include <string>

#include <gtest/gtest.h>

#include "foundation/data/MessageMaker.h"

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

// Notes the handler's calls, with the header lines as they stand when the body is asked for.
class RecordingHandler : public MessageHandler {
 public:
  void Start(std::uint64_t position) override { calls += "start" + std::to_string(position); }
  LineReceiver& BodyReceiver(const HeaderMaker& header, std::uint64_t position) override {
    calls += " body" + std::to_string(position) + "[";
    for (std::size_t i = 0; i < header.Lines().size(); ++i) {
      calls.append(i == 0 ? "" : "|").append(header.Lines()[i].begin(), header.Lines()[i].end());
    }
    calls += "]";
    return body;
  }
  void End(std::uint64_t position) override { calls += " end" + std::to_string(position); }
  std::string calls;
  LineRecorder body;
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

TEST(MessageMaker, SplitsHeaderFromBodyAtTheFirstEmptyLineHoweverTheBytesArrive) {
  const struct {
    const char* input;
    const char* calls;
    const char* body;
  } rows[] = {
      {"From: a\r\nTo: b\r\n\r\nbody line\r\nsecond", "start0 body18[From: a|To: b] end35",
       "S18 D:body line E27-29 D:second L35"},
      {"Header\r\n", "start0 body8[Header] end8", "S8 L8"},
      {"Header\r\n\r\n", "start0 body10[Header] end10", "S10 L10"},
      {"", "start0 body0[] end0", "S0 L0"},
      {"\r\nbody", "start0 body2[] end6", "S2 D:body L6"},
      {"h\n\nb1\n\nb2\n", "start0 body3[h] end10", "S3 D:b1 E5-6 E6-7 D:b2 E9-10 L10"},
      {"h1\nh2", "start0 body5[h1|h2] end5", "S5 L5"},
      {"h\r\r\nb", "start0 body4[h] end5", "S4 D:b L5"},
  };
  for (const auto& row : rows) {
    const std::string input = row.input;
    for (std::size_t cut = 0; cut <= input.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << '"' << row.input << "\" cut at " << cut);
      RecordingHandler handler;
      MessageMaker messages(handler);
      LineMaker lines(messages);
      Feed(lines, input, cut, cut);
      EXPECT_EQ(handler.calls, row.calls);
      EXPECT_EQ(handler.body.transcript, row.body);
    }
  }
}

// A second stream starts with a fresh header, and the lines' offsets count from its own start.
TEST(MessageMaker, EachStreamStartsAfresh) {
  RecordingHandler handler;
  MessageMaker messages(handler);
  LineMaker lines(messages);
  Feed(lines, "first\n\nx\r", 0, 0);
  Feed(lines, "second\n", 0, 0, 100);
  EXPECT_EQ(handler.calls, "start0 body7[first] end9start0 body7[second] end7");
  EXPECT_EQ(handler.body.transcript, "S7 D:x E8-9 L9 S7 L7");
}

}  // namespace
