// Stages of a byte stream: the filterer that runs a filter in fixed-size pieces, the ASCII case
// filters, and the labeller that hands bytes on as text.
#include "foundation/data/DataFilterer.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/data/AsciiCaseFilters.h"
#include "foundation/data/TextEncodingDataLabeller.h"

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

// Holds the whole stream back and hands it out reversed when flushed.
class ReversingFilter : public DataFilter {
 public:
  void Filter(Input& input, Output&) override {
    held_.insert(held_.begin(), input.begin, input.end);
    std::reverse(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(input.Size()));
    input.begin = input.end;
  }
  [[nodiscard]] bool IsFlushed() const override { return held_.empty(); }
  void Flush(Output& output) override {
    const std::size_t count = std::min(held_.size(), output.Free());
    output.end = std::copy_n(held_.begin(), count, output.end);
    held_.erase(0, count);
  }

 private:
  std::string held_;
};

class StuckFilter : public DataFilter {
 public:
  void Filter(Input&, Output&) override {}
  [[nodiscard]] bool IsFlushed() const override { return false; }
};

std::string Pattern(std::size_t size, char first = 'a') {
  std::string text;
  for (std::size_t i = 0; i < size; ++i) text += static_cast<char>(first + i % 26);
  return text;
}

TEST(DataFilterer, InputLargerThanItsBufferArrivesWholeInBufferSizedPieces) {
  const std::string input = Pattern(3000);
  RecordingReceiver sink;
  Ascii::CaseRaisingFilter filter;
  DataFilterer filterer(sink, filter);
  filterer.StartData(7);
  filterer.Receive(input.data(), input.data() + input.size());
  filterer.EndData();
  EXPECT_EQ(sink.bytes, Pattern(3000, 'A'));
  EXPECT_EQ(sink.events, "start 7;end;");
  EXPECT_EQ(sink.pieceSizes, (std::vector<std::size_t>{1024, 1024, 952}));
}

TEST(DataFilterer, HeldBackBytesAreFlushedBeforeTheDownstreamEnd) {
  const std::string input = Pattern(2500);
  RecordingReceiver sink;
  ReversingFilter filter;
  DataFilterer filterer(sink, filter);
  filterer.StartData(0);
  filterer.Receive(input.data(), input.data() + 1000);
  filterer.Receive(input.data() + 1000, input.data() + input.size());
  EXPECT_TRUE(sink.bytes.empty());
  filterer.EndData();
  EXPECT_EQ(sink.bytes, std::string(input.rbegin(), input.rend()));
  EXPECT_EQ(sink.events, "start 0;end;");
  EXPECT_EQ(sink.pieceSizes, (std::vector<std::size_t>{1024, 1024, 452}));
}

TEST(DataFilterer, AFilterThatMakesNoProgressThrowsInsteadOfLooping) {
  RecordingReceiver sink;
  StuckFilter filter;
  DataFilterer filterer(sink, filter);
  const char byte = 'x';
  filterer.StartData(0);
  EXPECT_THROW(filterer.Receive(&byte, &byte + 1), DataFilterStalled);
  EXPECT_THROW(filterer.EndData(), DataFilterStalled);
  EXPECT_FALSE(sink.ended);
}

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
    std::string input, lowered, raised;
  };
  // The neighbours of the letter ranges, NUL and bytes above 0x7F whose low seven bits are letters.
  const Row rows[] = {
      {"", "", ""},
      {"Hello, World 42!", "hello, world 42!", "HELLO, WORLD 42!"},
      {"@AZ[`az{", "@az[`az{", "@AZ[`AZ{"},
      {std::string("a\0B", 3), std::string("a\0b", 3), std::string("A\0B", 3)},
      {"\xC1\xE1\xDA\xFA\x80\xFF", "\xC1\xE1\xDA\xFA\x80\xFF", "\xC1\xE1\xDA\xFA\x80\xFF"},
      {"\xC3\x89t\xC3\xA9", "\xC3\x89t\xC3\xA9", "\xC3\x89T\xC3\xA9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(FilterAll<Ascii::CaseLoweringFilter>(row.input), row.lowered);
    EXPECT_EQ(FilterAll<Ascii::CaseRaisingFilter>(row.input), row.raised);
  }
}

class RecordingTextReceiver : public UTextReceiver<UTF8> {
 public:
  void Start() override { events += "start;"; }
  void Receive(const char* begin, const char* end) override { events.append(begin, end) += ";"; }
  void End() override { events += "end;"; }
  std::string events;
};

TEST(TextEncodingDataLabeller, PassesTheStreamOnAsTextUnchecked) {
  RecordingTextReceiver text;
  TextEncodingDataLabeller<UTF8> labeller(text);
  const std::string valid = "caf\xC3\xA9", invalid = "\xC3(\xFF";
  labeller.StartData(5);
  static_cast<DataWriter&>(labeller).Write(valid.data(), valid.data() + valid.size());
  labeller.Receive(invalid.data(), invalid.data() + invalid.size());
  labeller.EndData();
  EXPECT_EQ(text.events, "start;" + valid + ";" + invalid + ";end;");
}

}  // namespace
