#include "tools/tap/FrameScanner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every finding as one line of text, to compare against a table.
class Findings : public FrameReceiver {
 public:
  void Frame(ByteRange body) override { lines.push_back("frame " + std::string(body.View())); }
  void OversizedFrame(std::uint32_t length) override {
    lines.push_back("oversized " + std::to_string(length));
  }
  void PartialPrefix(ByteRange bytes) override {
    lines.push_back("prefix " + std::to_string(bytes.size()));
  }
  void PartialFrame(std::uint32_t length, std::uint64_t received, ByteRange body) override {
    lines.push_back("partial " + std::to_string(received) + "/" + std::to_string(length) + " " +
                    std::string(body.View()));
  }
  std::vector<std::string> lines;
};

std::string Prefix(std::uint32_t length) {
  char bytes[4];
  std::memcpy(bytes, &length, sizeof bytes);
  return std::string(bytes, sizeof bytes);
}

std::string Framed(const std::string& body) {
  return Prefix(static_cast<std::uint32_t>(body.size())) + body;
}

// Feeds the stream in pieces of `piece` bytes (0: all at once), then ends it.
std::vector<std::string> Scan(const std::string& stream, std::size_t piece, std::uint32_t limit) {
  Findings findings;
  FrameScanner scanner(findings, limit);
  const std::size_t step = piece == 0 ? stream.size() + 1 : piece;
  for (std::size_t at = 0; at < stream.size(); at += step) {
    scanner.Feed(ByteRange(stream).View().substr(at, step));
  }
  scanner.Finish();
  return findings.lines;
}

TEST(FrameScanner, FindsTheSameFramesWhateverPiecesTheBytesComeIn) {
  struct Row {
    const char* name;
    std::string stream;
    std::vector<std::string> expected;
  } const rows[] = {
      {"nothing", "", {}},
      {"one", Framed("<a/>"), {"frame <a/>"}},
      {"empty between two",
       Framed("x") + Framed("") + Framed("yz"),
       {"frame x", "frame ", "frame yz"}},
      {"at the limit", Framed("12345678"), {"frame 12345678"}},
      {"over the limit, then framing goes on",
       Prefix(9) + "123456789" + Framed("ok"),
       {"oversized 9", "frame ok"}},
      {"cut in the prefix", Framed("a") + std::string("\x05\x00", 2), {"frame a", "prefix 2"}},
      {"cut in the body", Prefix(5) + "abc", {"partial 3/5 abc"}},
      {"cut right after the prefix", Prefix(5), {"partial 0/5 "}},
      {"cut in an oversized body", Prefix(100) + "abc", {"oversized 100", "partial 3/100 "}},
  };
  for (const Row& row : rows) {
    for (std::size_t piece : {0, 1, 2, 3, 5, 7}) {
      SCOPED_TRACE(std::string(row.name) + ", pieces of " + std::to_string(piece));
      EXPECT_EQ(Scan(row.stream, piece, 8), row.expected);
    }
  }
}

TEST(FrameScanner, ReadsTheLengthInTheMachinesOwnOrder) {
  const std::string body(258, 'q');
  EXPECT_EQ(Scan(Framed(body), 0, 1000), std::vector<std::string>{"frame " + body});
  // 258 in the other order would be 0x02010000, far over the limit.
  EXPECT_EQ(Scan(Prefix(258), 0, 1000), std::vector<std::string>{"partial 0/258 "});
}

}  // namespace
