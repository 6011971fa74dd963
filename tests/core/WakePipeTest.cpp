#include "core/WakePipe.h"

#include "core/MessageQueue.h"
#include "core/UICommand.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(WakePipe, ARaiseFromAnotherThreadEndsTheWaitAndDrainingRearmsIt) {
  WakePipe wake;
  ASSERT_TRUE(wake.Open());
  EXPECT_FALSE(wake.Wait(0));
  const Clock::time_point start = Clock::now();
  std::thread raiser([&wake] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wake.Raise();
  });
  EXPECT_TRUE(wake.Wait(5000));
  raiser.join();
  EXPECT_LT(SecondsSince(start), 2.0);
  // Until it is drained, the raise stays seen.
  EXPECT_TRUE(wake.Wait(0));
  wake.Drain();
  EXPECT_FALSE(wake.Wait(20));
}

TEST(WakePipe, RaisesBeyondThePipesCapacityNeverBlockAndOneDrainTakesThemAll) {
  WakePipe wake;
  ASSERT_TRUE(wake.Open());
  // Far more than a pipe holds: a raiser that blocked here would never come back.
  for (int raise = 0; raise < 200000; ++raise) wake.Raise();
  EXPECT_TRUE(wake.Wait(0));
  wake.Drain();
  EXPECT_FALSE(wake.Wait(10));
  wake.Raise();
  EXPECT_TRUE(wake.Wait(0));
}

TEST(WakePipe, WithoutAPipeRaisesDoNothingAndAWaitIsAPlainPause) {
  WakePipe wake;
  EXPECT_EQ(wake.ReadEnd(), -1);
  wake.Raise();
  wake.Drain();
  const Clock::time_point start = Clock::now();
  EXPECT_FALSE(wake.Wait(60));
  EXPECT_GE(SecondsSince(start), 0.05);
}

class CountingSignal final : public WorkSignal {
 public:
  void Raise() noexcept override { ++raises; }
  std::atomic<int> raises{0};
};

TEST(WorkSignal, EachQueueRaisesItAfterEveryAdditionUntilItIsTakenAway) {
  CountingSignal signal;
  MessageQueue messages;
  UICommandQueue commands;
  messages.Push(UString8("unseen"));
  commands.Post({UICommandKind::kTakeAllActions});
  EXPECT_EQ(signal.raises, 0);
  messages.SetWorkSignal(&signal);
  commands.SetWorkSignal(&signal);
  messages.Push(UString8("<a/>"));
  EXPECT_EQ(signal.raises, 1);
  messages.RaiseWorkSignal();
  EXPECT_EQ(signal.raises, 2);
  commands.Post({UICommandKind::kSnooze});
  EXPECT_EQ(signal.raises, 3);
  // The raise comes after the text is in: a woken taker finds it.
  MessageList taken;
  messages.TakeAll(taken);
  EXPECT_EQ(taken.Size(), 2u);
  messages.SetWorkSignal(nullptr);
  commands.SetWorkSignal(nullptr);
  messages.Push(UString8("quiet"));
  commands.Post({UICommandKind::kSnooze});
  EXPECT_EQ(signal.raises, 3);
}

}  // namespace
