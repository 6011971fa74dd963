#include "tools/tap/TranscriptFormat.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace {

using std::chrono::microseconds;
using std::chrono::system_clock;

const EntryOrigin kOrigin{system_clock::time_point(microseconds(1796757621123456)), 4242};
constexpr const char* kStamp = "2026-12-08T19:20:21.123456Z 4242 ";

TEST(TranscriptFormat, TimestampsAreUTCWithSixDigitsOfMicroseconds) {
  struct Row {
    long long micros;
    const char* text;
  } const rows[] = {
      {0, "1970-01-01T00:00:00.000000Z"},
      {1, "1970-01-01T00:00:00.000001Z"},
      {-1, "1969-12-31T23:59:59.999999Z"},
      {951782400000000, "2000-02-29T00:00:00.000000Z"},
      {1796757621123456, "2026-12-08T19:20:21.123456Z"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(FormatTimestamp(system_clock::time_point(microseconds(row.micros))), row.text);
  }
}

TEST(TranscriptFormat, QuotedTextKeepsEveryByteOnOneLine) {
  struct Row {
    std::string bytes;
    const char* quoted;
  } const rows[] = {
      {"", "\"\""},
      {"--geometry 10x10", "\"--geometry 10x10\""},
      {"a \"b\" \\c", "\"a \\\"b\\\" \\\\c\""},
      {"line\nnext\ttab", "\"line\\x0anext\\x09tab\""},
      {"\xc3\xa9\x7f", "\"\\xc3\\xa9\\x7f\""},
      {std::string("\0", 1), "\"\\x00\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.quoted);
    EXPECT_EQ(QuotedText(row.bytes), row.quoted);
  }
}

TEST(TranscriptFormat, HexDumpShowsOffsetsBytesAndPrintableCharacters) {
  EXPECT_EQ(HexDumpLines(std::string("0123456789abcdef\x01\xff", 18)),
            "  hex 00000000  30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66  |0123456789abcdef|\n"
            "  hex 00000010  01 ff                                            |..|\n");
  const std::string big(kHexDumpLimit + 5, 'x');
  const std::string dump = HexDumpLines(big);
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), kHexDumpLimit / 16 + 1);
  EXPECT_NE(dump.find("  hex ... 5 more bytes, in base64 above\n"), std::string::npos);
}

TEST(TranscriptFormat, FramesAreShownByKindWithTheirExactBytesInBase64) {
  struct Row {
    Direction direction;
    std::string body;
    std::string entry;
  } const rows[] = {
      {Direction::ClientToProgram, "",
       std::string(kStamp) + "client -> program frame 0 bytes empty\n"},
      {Direction::ProgramToClient, "<a>\r\n<b/></a>",
       std::string(kStamp) + "program -> client frame 13 bytes xml\n"
                             "  base64 PGE+DQo8Yi8+PC9hPg==\n"
                             "  | <a>\n"
                             "  | <b/></a>\n"},
      {Direction::ClientToProgram, "<a>",
       std::string(kStamp) +
           "client -> program frame 3 bytes binary\n"
           "  base64 PGE+\n"
           "  hex 00000000  3c 61 3e                                         |<a>|\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    EXPECT_EQ(FrameEntry(kOrigin, row.direction, row.body), row.entry);
  }
}

TEST(TranscriptFormat, CutAndOversizedFramesSayWhatWasRecorded) {
  EXPECT_EQ(OversizedFrameEntry(kOrigin, Direction::ClientToProgram, 2097153, 2097152),
            std::string(kStamp) +
                "client -> program oversized frame 2097153 bytes, over the limit of 2097152: "
                "relayed, not recorded\n");
  EXPECT_EQ(PartialFrameEntry(kOrigin, Direction::ClientToProgram, 9, 8, 3, "abc"),
            std::string(kStamp) +
                "client -> program partial frame 3 of 9 bytes, over the limit: not recorded\n");
  EXPECT_EQ(PartialFrameEntry(kOrigin, Direction::ProgramToClient, 9, 100, 3, "abc"),
            std::string(kStamp) +
                "program -> client partial frame 3 of 9 bytes\n"
                "  base64 YWJj\n"
                "  hex 00000000  61 62 63                                         |abc|\n");
  EXPECT_EQ(
      PartialPrefixEntry(kOrigin, Direction::ClientToProgram, std::string("\x05\x00", 2)),
      std::string(kStamp) + "client -> program partial length prefix 2 bytes\n  base64 BQA=\n");
}

TEST(TranscriptFormat, ProgramStartNamesItsPathAndEachArgument) {
  EXPECT_EQ(ProgramStartedEntry(kOrigin, 77, "/usr/bin/qvxclientui", {"-a", "two words"}),
            std::string(kStamp) +
                "program started pid 77\n"
                "  path \"/usr/bin/qvxclientui\"\n"
                "  argv \"-a\"\n"
                "  argv \"two words\"\n");
}

// A real wait status of a child that ended as `end` says.
int StatusOf(void (*end)()) {
  const pid_t child = fork();
  if (child == 0) end();
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(TranscriptFormat, ProgramEndGivesTheExitStatusOrTheSignal) {
  struct Row {
    void (*end)();
    const char* event;
  } const rows[] = {
      {[] { _exit(0); }, "program exited with status 0"},
      {[] { _exit(3); }, "program exited with status 3"},
      {[] { _exit(255); }, "program exited with status 255"},
      {[] { raise(SIGTERM); }, "program killed by signal 15 (SIGTERM)"},
      {[] { raise(SIGKILL); }, "program killed by signal 9 (SIGKILL)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.event);
    EXPECT_EQ(ProgramEndedEntry(kOrigin, StatusOf(row.end)),
              std::string(kStamp) + row.event + "\n");
  }
  EXPECT_EQ(SignalName(SIGPIPE), "SIGPIPE");
  EXPECT_EQ(SignalName(1000), "signal 1000");
}

}  // namespace
