#include "foundation/data/TextEncodingDataLabeller.h"

#include <string>

#include <gtest/gtest.h>

namespace {

class RecordingTextReceiver : public UTextReceiver<UTF8> {
 public:
  void Start() override { events += "start;"; }
  void Receive(const char* begin, const char* end) override {
    events += std::string(begin, end) + ";";
  }
  void End() override { events += "end;"; }
  std::string events;
};

TEST(TextEncodingDataLabeller, PassesTheStreamOnAsTextUnchecked) {
  RecordingTextReceiver text;
  TextEncodingDataLabeller<UTF8> labeller(text);
  DataWriter& writer = labeller;
  const std::string valid = "caf\xC3\xA9", invalid = "\xC3(\xFF";
  labeller.StartData(5);
  writer.Write(valid.data(), valid.data() + valid.size());
  labeller.Receive(invalid.data(), invalid.data() + invalid.size());
  labeller.EndData();
  EXPECT_EQ(text.events, "start;" + valid + ";" + invalid + ";end;");
}

}  // namespace
