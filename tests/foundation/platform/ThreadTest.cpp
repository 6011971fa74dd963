// Threads and what they meet with: starting and releasing them, their stacks and failed starts,
// sleeping, events and the recursive lock.
#include "foundation/platform/Thread.h"

#include "foundation/platform/Event.h"
#include "foundation/platform/PlainLock.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
using UnixPlatform::Event;

long MillisecondsSince(Clock::time_point begin) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin).count());
}

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

// The witness's deleter runs only if the stack is unwound.
void ThrowAfterWitness(void* unwound) {
  const std::shared_ptr<void> witness(
      nullptr, [unwound](void*) { static_cast<std::atomic<bool>*>(unwound)->store(true); });
  throw std::runtime_error("worker failed");
}

// A null function starts nothing, records never started run nothing and are freed on release,
// a record started twice runs its function once, and a throwing function ends its thread quietly
// (an escaped exception would end the process) while the handle keeps the record until released.
TEST(Thread, ARecordRunsItsFunctionOnceAtMostAndAThrowEndsOnlyItsThread) {
  EXPECT_EQ(CreateThread(nullptr, nullptr), nullptr);
  EXPECT_FALSE(Start(nullptr));
  std::atomic<int> calls{0};
  ReleaseHandle(CreateThread(CountCall, &calls));
  DeleteThread(CreateThread(CountCall, &calls));
  UnixPlatform::Thread* thread = CreateThread(CountCall, &calls);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(Start(thread));
  EXPECT_TRUE(Start(thread));
  std::atomic<bool> unwound{false};
  UnixPlatform::Thread* thrower = CreateThread(ThrowAfterWitness, &unwound);
  ASSERT_TRUE(Start(thrower));
  ASSERT_TRUE(Eventually([&] { return calls.load() == 1 && unwound.load(); }));
  // Past several release polls the records must still be there to release.
  SleepMilliseconds(300);
  EXPECT_EQ(calls.load(), 1);
  ReleaseHandle(thread);
  ReleaseHandle(thrower);
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

TEST(Thread, StackIsRaisedOnlyWhenTheMinimumExceedsTheDefault) {
  const std::shared_ptr<void> restore(nullptr, [](void*) { SetMinimumThreadStackSize(0); });
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
    UnixPlatform::Thread* thread = CreateThread(RecordStackSize, &size);
    ASSERT_TRUE(Start(thread));
    ASSERT_TRUE(Eventually([&] { return size.load() != 0; }));
    ReleaseHandle(thread);
    EXPECT_GE(size.load(), row.atLeast);
    EXPECT_LE(size.load(), row.atMost);
  }
}
#endif

// Runs in a fresh child process: the address-space limit must not reach the other tests.
int StartsFailWithOneLineEach() {
  long pages = 0;
  if (!(std::ifstream("/proc/self/statm") >> pages)) return 2;
  // Room for ordinary allocations, none for a 4 GiB stack.
  const rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (rlim_t{512} << 20);
  const rlimit address{limit, limit};
  if (setrlimit(RLIMIT_AS, &address) != 0) return 2;
  SetMinimumThreadStackSize(0xFFFFF000u);

  std::atomic<int> calls{0};
  std::string report;
  // A failed start prints exactly "Unable to pthread_create (<number>)" and one newline.
  auto expectOneLine = [&](const char* what, auto start) {
    testing::internal::CaptureStderr();
    const bool failed = start();
    const std::string captured = testing::internal::GetCapturedStderr();
    if (!failed ||
        !std::regex_match(captured, std::regex("Unable to pthread_create \\([0-9]+\\)\n"))) {
      report += std::string(what) + (failed ? " printed: " : " did not fail; printed: ") + captured;
    }
  };
  UnixPlatform::Thread* thread = CreateThread(CountCall, &calls);
  expectOneLine("Start", [&] { return !Start(thread); });
  DeleteThread(thread);
  if (calls.load() != 0) report += "a thread function ran\n";
  std::fputs(report.c_str(), stderr);
  return report.empty() ? 0 : 1;
}

TEST(ThreadDeathTest, FailedStartPrintsOneLineAndReportsFailure) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::_Exit(StartsFailWithOneLineEach()), testing::ExitedWithCode(0), "");
}

constexpr std::int64_t kTenSeconds = 10000000;
constexpr std::int64_t kEndless = UnixPlatform::kLongestTimedWait + 1;

TEST(Event, SignaledEventStaysSignaledUntilResetAndWaitsAndSleepsLastAsLongAsAsked) {
  Event event, never;
  event.Set();
  auto begin = Clock::now();
  EXPECT_EQ(Event::WaitAny(never, event, kTenSeconds), &event);
  EXPECT_EQ(Event::WaitAny(event, never, kEndless), &event);
  EXPECT_LT(MillisecondsSince(begin), 1000);
  event.Reset();
  begin = Clock::now();
  EXPECT_EQ(Event::WaitAny(event, never, 50000), nullptr);
  EXPECT_GE(MillisecondsSince(begin), 45);
  begin = Clock::now();
  SleepMilliseconds(250);
  EXPECT_GE(MillisecondsSince(begin), 245);
  EXPECT_LT(MillisecondsSince(begin), 750);
}

TEST(Event, WaitAnyReportsTheFirstSignaledEventInArgumentOrderAndWakesOnASetFromAnotherThread) {
  // Which events are set, and the index of the one returned (-1 for a timeout).
  const std::pair<const char*, int> rows[] = {{"--", -1}, {"-x", 1}, {"x-", 0}, {"xx", 0}};
  for (const auto& [signaled, expected] : rows) {
    SCOPED_TRACE(signaled);
    Event events[2];
    for (int i = 0; i < 2; ++i) {
      if (signaled[i] == 'x') events[i].Set();
    }
    Event* got = Event::WaitAny(events[0], events[1], 20000);
    EXPECT_EQ(got, expected < 0 ? nullptr : &events[expected]);
    // A wait that is over leaves nothing behind on its events for a Set to reach.
    for (Event& event : events) event.Set();
  }
  // Set from another thread, the second of two wakes a wait on both.
  Event a, b;
  std::atomic<Event*> woken{nullptr};
  std::thread waiter([&] { woken = Event::WaitAny(a, b, kEndless); });
  SleepMilliseconds(100);
  EXPECT_EQ(woken.load(), nullptr);
  b.Set();
  waiter.join();
  EXPECT_EQ(woken.load(), &b);
}

TEST(WaitDeadline, ComesFromTheTimeoutWithCarryAndLimits) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const struct {
    std::int64_t nowSeconds, nowNanoseconds, timeout;
    bool timed;
    std::int64_t seconds, nanoseconds;
  } rows[] = {
      {100, 0, -5, true, 100, 0},
      {100, 250, 0, true, 100, 250},
      {100, 999999999, 1, true, 101, 999},
      {100, 500000000, 1500000, true, 102, 0},
      {100, 0, 4294967294999, true, 100 + 4294967, 294999000},
      {100, 0, 4294967295000, false, 100 + 4294967, 295000000},
      {kMax - 10, 0, kMax, false, kMax - 1, 775807000},
      {kMax - kMax / 1000000, 0, kMax / 1000000 * 1000000, false, kMax - 1, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.timeout);
    const timespec now{static_cast<time_t>(row.nowSeconds), static_cast<long>(row.nowNanoseconds)};
    const UnixPlatform::WaitDeadline deadline = UnixPlatform::ComputeDeadline(now, row.timeout);
    EXPECT_EQ(deadline.timed, row.timed);
    EXPECT_EQ(deadline.at.tv_sec, row.seconds);
    EXPECT_EQ(deadline.at.tv_nsec, row.nanoseconds);
  }
}

TEST(PlainLock, TheOwnerMayLockAgainAndAnotherThreadWaitsForItsLastUnlock) {
  PlainLock lock;
  lock.Lock();
  {
    PlainLock::Guard again(lock);
    PlainLock::Guard third(lock);
  }
  std::atomic<bool> acquired{false};
  std::thread other([&] {
    PlainLock::Guard guard(lock);
    acquired = true;
  });
  SleepMilliseconds(100);
  EXPECT_FALSE(acquired.load());
  lock.Unlock();
  other.join();
  EXPECT_TRUE(acquired.load());
}
}  // namespace
