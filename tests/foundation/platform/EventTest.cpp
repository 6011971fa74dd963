#include "foundation/platform/Event.h"

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/platform/Thread.h"

namespace {
using UnixPlatform::Event;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t kTenSeconds = 10000000;
constexpr std::int64_t kEndless = UnixPlatform::kLongestTimedWait + 1;

long MillisecondsSince(Clock::time_point begin) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin).count());
}

bool EventuallyHasWaiters(Event& event) {
  for (int i = 0; i < 2000 && !event.HasWaiters(); ++i) SleepMilliseconds(5);
  return event.HasWaiters();
}

TEST(Event, SignaledEventStaysSignaledUntilReset) {
  Event event;
  event.Set();
  auto begin = Clock::now();
  EXPECT_TRUE(Event::Wait(event, kTenSeconds));
  EXPECT_TRUE(Event::Wait(event, kEndless));
  EXPECT_LT(MillisecondsSince(begin), 1000);
  event.Reset();
  begin = Clock::now();
  EXPECT_FALSE(Event::Wait(event, 50000));
  EXPECT_GE(MillisecondsSince(begin), 45);
  EXPECT_FALSE(event.HasWaiters());
}

TEST(Event, WaitAnyReportsTheFirstSignaledEventInArgumentOrder) {
  const struct {
    const char* signaled;
    int expected;  // index of the event returned, -1 for a timeout
  } rows[] = {{"---", -1}, {"--x", 2}, {"-xx", 1}, {"xxx", 0}, {"x-x", 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.signaled);
    Event events[3];
    for (int i = 0; i < 3; ++i) {
      if (row.signaled[i] == 'x') events[i].Set();
    }
    Event* got = Event::WaitAny(events[0], events[1], events[2], 20000);
    EXPECT_EQ(got, row.expected < 0 ? nullptr : &events[row.expected]);
    for (Event& event : events) EXPECT_FALSE(event.HasWaiters());
  }
}

TEST(Event, SetFromAnotherThreadWakesAWaitOnThree) {
  Event a, b, c;
  std::atomic<Event*> woken{nullptr};
  std::thread waiter([&] { woken = Event::WaitAny(a, b, c, kEndless); });
  ASSERT_TRUE(EventuallyHasWaiters(c));
  EXPECT_TRUE(a.HasWaiters());
  EXPECT_TRUE(b.HasWaiters());
  c.Set();
  waiter.join();
  EXPECT_EQ(woken.load(), &c);
  EXPECT_FALSE(a.HasWaiters());
  EXPECT_FALSE(b.HasWaiters());
  EXPECT_FALSE(c.HasWaiters());
}

TEST(WaitDeadline, ComesFromTheTimeoutWithCarryAndLimits) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const struct {
    std::int64_t nowSeconds;
    long nowNanoseconds;
    std::int64_t timeout;
    bool timed;
    std::int64_t seconds;
    long nanoseconds;
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
    timespec now{};
    now.tv_sec = static_cast<time_t>(row.nowSeconds);
    now.tv_nsec = row.nowNanoseconds;
    const UnixPlatform::WaitDeadline deadline = UnixPlatform::ComputeDeadline(now, row.timeout);
    EXPECT_EQ(deadline.timed, row.timed);
    EXPECT_EQ(deadline.at.tv_sec, row.seconds);
    EXPECT_EQ(deadline.at.tv_nsec, row.nanoseconds);
  }
}
}  // namespace
