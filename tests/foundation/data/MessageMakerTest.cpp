#include "foundation/data/MessageMaker.h"

#include <string>

#include <gtest/gtest.h>

#include "foundation/data/LineMaker.h"
#include "tests/foundation/data/LineRecorder.h"

namespace {

// Notes the handler's calls, with the header lines as they stand when the body is asked for.
class RecordingHandler : public MessageHandler {
 public:
  void Start(std::uint64_t position) override { calls += "start" + std::to_string(position); }
  LineReceiver& BodyReceiver(const HeaderMaker& header, std::uint64_t position) override {
    calls += " body" + std::to_string(position) + "[";
    for (std::size_t i = 0; i < header.Lines().size(); ++i) {
      if (i != 0) calls += '|';
      calls.append(header.Lines()[i].begin(), header.Lines()[i].end());
    }
    calls += "]";
    return body;
  }
  void End(std::uint64_t position) override { calls += " end" + std::to_string(position); }

  std::string calls;
  LineRecorder body;
};

struct Row {
  const char* input;
  const char* calls;
  const char* body;
};

const Row kRows[] = {
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

TEST(MessageMaker, SplitsHeaderFromBodyAtTheFirstEmptyLineHoweverTheBytesArrive) {
  for (const Row& row : kRows) {
    const std::string input = row.input;
    for (std::size_t cut = 0; cut <= input.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << '"' << row.input << "\" cut at " << cut);
      RecordingHandler handler;
      MessageMaker messages(handler);
      LineMaker lines(messages);
      lines.StartData(0);
      lines.Receive(input.data(), input.data() + cut);
      lines.Receive(input.data() + cut, input.data() + input.size());
      lines.EndData();
      EXPECT_EQ(handler.calls, row.calls);
      EXPECT_EQ(handler.body.transcript, row.body);
    }
  }
}

TEST(MessageMaker, EachStreamStartsWithAFreshHeader) {
  RecordingHandler handler;
  MessageMaker messages(handler);
  LineMaker lines(messages);
  for (const std::string input : {"first\n\nx", "second\n"}) {
    lines.StartData(0);
    lines.Receive(input.data(), input.data() + input.size());
    lines.EndData();
  }
  EXPECT_EQ(handler.calls, "start0 body7[first] end8start0 body7[second] end7");
}

}  // namespace
