#include "tools/tap/Transcript.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class TranscriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/taptranscript-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/transcript.txt";
  }
  void TearDown() override {
    unlink(path_.c_str());
    rmdir(folder_.c_str());
  }
  std::string folder_, path_;
};

TEST_F(TranscriptTest, EntriesFromSeveralThreadsKeepEachThreadsOrderAndAppendToTheFile) {
  {
    std::ofstream earlier(path_);
    earlier << "earlier\n";
  }
  Transcript transcript(path_, 1);
  ASSERT_TRUE(transcript.IsOpen());
  auto post = [&](char thread) {
    for (int i = 0; i < 1000; ++i) {
      transcript.Post([thread, i] { return std::string(1, thread) + std::to_string(i) + "\n"; }, 1);
    }
  };
  std::thread a(post, 'a'), b(post, 'b');
  a.join();
  b.join();
  transcript.Flush();
  std::istringstream lines(Contents(path_));
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "earlier");
  int next[2] = {0, 0};
  while (std::getline(lines, line)) {
    const int thread = line[0] - 'a';
    ASSERT_EQ(std::stoi(line.substr(1)), next[thread]) << line;
    ++next[thread];
  }
  EXPECT_EQ(next[0], 1000);
  EXPECT_EQ(next[1], 1000);
}

TEST_F(TranscriptTest, NewFileIsTheUsersAlone) {
  Transcript transcript(path_, 1);
  transcript.Post([] { return std::string("x\n"); }, 0);
  transcript.Flush();
  struct stat status {};
  ASSERT_EQ(stat(path_.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(TranscriptTest, EntryThatCannotBeMadeIsLeftOutAndTheNextOnesStillCome) {
  Transcript transcript(path_, 1);
  transcript.Post([]() -> std::string { throw std::runtime_error("no"); }, 0);
  transcript.Post([] { return std::string("after\n"); }, 0);
  transcript.Flush();
  EXPECT_EQ(Contents(path_), "after\n");
}

TEST_F(TranscriptTest, FileThatCannotBeOpenedTakesEntriesWithoutComplaint) {
  for (const std::string& path : {std::string(), folder_ + "/missing/transcript.txt", folder_}) {
    SCOPED_TRACE(path);
    Transcript transcript(path, 1);
    EXPECT_FALSE(transcript.IsOpen());
    bool made = false;
    transcript.Post(
        [&made] {
          made = true;
          return std::string();
        },
        0);
    transcript.Flush();
    EXPECT_FALSE(made);
  }
}

}  // namespace
