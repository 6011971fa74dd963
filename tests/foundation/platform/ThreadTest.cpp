#include "foundation/platform/Thread.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

// Polls for a flag set by another thread, so no test waits longer than it must.
template <typename Predicate>
bool Eventually(Predicate predicate) {
  const auto giveUp = Clock::now() + std::chrono::seconds(10);
  while (!predicate()) {
    if (Clock::now() > giveUp) return false;
    SleepMilliseconds(5);
  }
  return true;
}

void CountCall(void* counter) { static_cast<std::atomic<int>*>(counter)->fetch_add(1); }

struct UnwindWitness {
  std::atomic<bool>* unwound;
  ~UnwindWitness() { unwound->store(true); }
};

void ThrowAfterWitness(void* unwound) {
  UnwindWitness witness{static_cast<std::atomic<bool>*>(unwound)};
  throw std::runtime_error("worker failed");
}

class MinimumStackSizeTest : public testing::Test {
 protected:
  void TearDown() override { SetMinimumThreadStackSize(saved_); }
  std::uint32_t saved_ = MinimumThreadStackSize();
};

TEST(Thread, SecondStartOfOneRecordCreatesNoSecondThread) {
  std::atomic<int> calls{0};
  UnixPlatform::Thread* thread = CreateThread(CountCall, &calls);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(Start(thread));
  EXPECT_TRUE(Start(thread));
  ASSERT_TRUE(Eventually([&] { return ThreadFinished(thread); }));
  SleepMilliseconds(100);
  EXPECT_EQ(calls.load(), 1);
  ReleaseHandle(thread);
}

TEST(Thread, NullFunctionIsRefused) {
  EXPECT_FALSE(StartThread(nullptr, nullptr));
  EXPECT_EQ(StartThreadWithHandle(nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateThread(nullptr, nullptr), nullptr);
  EXPECT_FALSE(Start(nullptr));
}

TEST(Thread, ThrowingFunctionOfSelfOwnedThreadEndsQuietly) {
  std::atomic<bool> unwound{false};
  ASSERT_TRUE(StartThread(ThrowAfterWitness, &unwound));
  EXPECT_TRUE(Eventually([&] { return unwound.load(); }));
  // Had the exception escaped, the process would have ended by now.
  SleepMilliseconds(100);
}

TEST(Thread, HandleOwnedRecordOutlivesItsThrowingFunctionUntilReleased) {
  std::atomic<bool> unwound{false};
  UnixPlatform::Thread* thread = StartThreadWithHandle(ThrowAfterWitness, &unwound);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(Eventually([&] { return ThreadFinished(thread); }));
  EXPECT_TRUE(unwound.load());
  // Past several release polls the record must still be there to read.
  SleepMilliseconds(300);
  EXPECT_TRUE(ThreadFinished(thread));
  ReleaseHandle(thread);
}

TEST(Thread, RecordNeverStartedIsFreedOnRelease) {
  std::atomic<int> calls{0};
  ReleaseHandle(CreateThread(CountCall, &calls));
  DeleteThread(CreateThread(CountCall, &calls));
  SleepMilliseconds(50);
  EXPECT_EQ(calls.load(), 0);
}

#if defined(__GLIBC__)
void RecordStackSize(void* size) {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
  std::size_t bytes = 0;
  pthread_attr_getstacksize(&attributes, &bytes);
  pthread_attr_destroy(&attributes);
  static_cast<std::atomic<std::size_t>*>(size)->store(bytes);
}

TEST_F(MinimumStackSizeTest, StackIsRaisedOnlyWhenTheMinimumExceedsTheDefault) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  std::size_t defaultSize = 0;
  pthread_attr_getstacksize(&attributes, &defaultSize);
  pthread_attr_destroy(&attributes);
  const std::size_t raised = defaultSize * 4;
  const struct {
    std::uint32_t minimum;
    std::size_t atLeast, atMost;
  } rows[] = {
      {524288, defaultSize / 2, defaultSize},
      {static_cast<std::uint32_t>(raised), raised - 65536, raised + 65536},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.minimum);
    SetMinimumThreadStackSize(row.minimum);
    std::atomic<std::size_t> size{0};
    UnixPlatform::Thread* thread = StartThreadWithHandle(RecordStackSize, &size);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(Eventually([&] { return ThreadFinished(thread); }));
    ReleaseHandle(thread);
    EXPECT_GE(size.load(), row.atLeast);
    EXPECT_LE(size.load(), row.atMost);
  }
}
#endif

// Exactly "Unable to pthread_create (<number>)" and one newline.
bool IsCreateFailureLine(const std::string& text) {
  return std::regex_match(text, std::regex("Unable to pthread_create \\([0-9]+\\)\n"));
}

// Runs in a fresh child process: the address-space limit must not reach the other tests.
int StartsFailWithOneLineEach() {
  long pages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr || std::fscanf(statm, "%ld", &pages) != 1) return 2;
  std::fclose(statm);
  // Room for ordinary allocations, none for a 4 GiB stack.
  const rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (rlim_t{512} << 20);
  const rlimit address{limit, limit};
  if (setrlimit(RLIMIT_AS, &address) != 0) return 2;
  SetMinimumThreadStackSize(0xFFFFF000u);

  std::atomic<int> calls{0};
  std::string report;
  auto expectOneLine = [&](const char* what, bool failed) {
    const std::string captured = testing::internal::GetCapturedStderr();
    if (!failed || !IsCreateFailureLine(captured)) {
      report += std::string(what) + (failed ? " printed: " : " did not fail; printed: ") + captured;
    }
  };
  testing::internal::CaptureStderr();
  expectOneLine("StartThread", !StartThread(CountCall, &calls));
  testing::internal::CaptureStderr();
  expectOneLine("StartThreadWithHandle", StartThreadWithHandle(CountCall, &calls) == nullptr);
  UnixPlatform::Thread* thread = CreateThread(CountCall, &calls);
  testing::internal::CaptureStderr();
  expectOneLine("Start", !Start(thread));
  DeleteThread(thread);
  if (calls.load() != 0) report += "a thread function ran\n";
  std::fputs(report.c_str(), stderr);
  return report.empty() ? 0 : 1;
}

TEST(ThreadDeathTest, FailedStartPrintsOneLineAndReportsFailure) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::_Exit(StartsFailWithOneLineEach()), testing::ExitedWithCode(0), "");
}

TEST(SleepMilliseconds, SleepsAboutAsLongAsAsked) {
  for (const std::uint32_t milliseconds : {0u, 250u}) {
    SCOPED_TRACE(milliseconds);
    const auto begin = Clock::now();
    SleepMilliseconds(milliseconds);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin);
    EXPECT_GE(elapsed.count(), static_cast<long>(milliseconds) - 5);
    EXPECT_LT(elapsed.count(), static_cast<long>(milliseconds) + 500);
  }
}

}  // namespace
