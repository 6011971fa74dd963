#include "foundation/platform/FileRetryLog.h"

#include "foundation/platform/FileOperations.h"
#include "foundation/platform/FileStatus.h"
#include "tests/foundation/platform/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint32_t> sleeps;
void RecordSleep(std::uint32_t milliseconds) { sleeps.push_back(milliseconds); }

class RecordingLog : public FileRetryLog {
 public:
  void RetrySucceeded(const char* operation, const FileLocation&, const FileLocation* second,
                      std::uint32_t attempts) override {
    calls.push_back(std::string("succeeded ") + operation + (second ? " 2 " : " 1 ") +
                    std::to_string(attempts));
  }
  void RetryGaveUp(const char* operation, const FileLocation&, const FileLocation* second,
                   std::uint32_t attempts) override {
    calls.push_back(std::string("gave up ") + operation + (second ? " 2 " : " 1 ") +
                    std::to_string(attempts));
  }
  std::vector<std::string> calls;
};

class FileRetry : public ::testing::Test {
 protected:
  void SetUp() override {
    sleeps.clear();
    previous_ = ReplaceRetrySleep(RecordSleep);
  }
  void TearDown() override { ReplaceRetrySleep(previous_); }
  RetrySleepFunction previous_ = nullptr;
  RecordingLog log;
  TemporaryFolder folder;
};

TEST_F(FileRetry, SleepsDoubleFromFortyAndTheLogHearsOfLateSuccessOrGivingUp) {
  struct Row {
    int failures;
    std::vector<std::uint32_t> sleeps;
    const char* logged;  // empty for no call
  } rows[] = {
      {0, {}, ""},
      {1, {40}, "succeeded Test 1 2"},
      {3, {40, 80, 160}, "succeeded Test 1 4"},
      {8, {40, 80, 160, 320, 640, 1280, 2560, 5120}, "succeeded Test 1 9"},
      {9, {40, 80, 160, 320, 640, 1280, 2560, 5120}, "gave up Test 1 9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.failures);
    sleeps.clear();
    log.calls.clear();
    int attempts = 0;
    auto attempt = [&] {
      if (++attempts <= row.failures) throw FileIOError(attempts);
    };
    if (row.failures >= 9) {
      try {
        RetryFileOperation("Test", FileLocation("/x"), nullptr, log, attempt);
        ADD_FAILURE() << "no exception";
      } catch (const FileIOError& error) {
        EXPECT_EQ(error.error(), 9u);  // the last attempt's exception
      }
    } else {
      RetryFileOperation("Test", FileLocation("/x"), nullptr, log, attempt);
    }
    EXPECT_EQ(sleeps, row.sleeps);
    EXPECT_EQ(log.calls.empty() ? "" : log.calls.at(0), std::string(row.logged));
    EXPECT_LE(log.calls.size(), 1u);
  }
}

TEST_F(FileRetry, EmptyLocationsAreRefusedAtOnceWithoutSleepOrLog) {
  EXPECT_THROW(DeleteFile(FileLocation(), log), EmptyFileLocationError);
  EXPECT_THROW(MoveFile(folder.Location(), FileLocation(), log), EmptyFileLocationError);
  int attempts = 0;
  EXPECT_THROW(RetryFileOperation("Test", FileLocation("/x"), nullptr, log,
                                  [&] { ++attempts, throw EmptyFileLocationError(0); }),
               EmptyFileLocationError);
  EXPECT_EQ(attempts, 1);
  EXPECT_TRUE(sleeps.empty());
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(FileRetry, RealOperationsGiveUpUnderTheirOwnNames) {
  WriteWholeFile(folder.Path("f"), "keep");
  EXPECT_THROW(CreateFile(folder.Location("f"), 0666, log), FileFoundError);
  EXPECT_THROW(CopyFile(folder.Location("none"), folder.Location("g"), log), FileNotFoundError);
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"gave up CreateFile 1 9", "gave up CopyFile 2 9"}));
  EXPECT_EQ(ReadWholeFile(folder.Path("f")), "keep");
  EXPECT_EQ(sleeps.size(), 16u);
}

}  // namespace
