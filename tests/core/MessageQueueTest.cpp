#include "core/MessageQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using UnixPlatform::Event;
using Clock = std::chrono::steady_clock;

UString8 Text(const std::string& text) { return UString8(text.data(), text.data() + text.size()); }
std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

std::vector<std::string> Strings(const MessageList& list) {
  std::vector<std::string> texts;
  for (const UString8& text : list) texts.push_back(Str(text));
  return texts;
}

std::vector<std::string> Drain(MessageQueue& queue) {
  MessageList list;
  queue.TakeAll(list);
  return Strings(list);
}

// Waits up to ten seconds for the flag.
bool Eventually(const std::atomic<bool>& flag) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!flag && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return flag;
}

TEST(MessageQueue, TakingReturnsTextsInArrivalOrderInExchangeForTheCallersList) {
  MessageQueue queue;
  EXPECT_TRUE(queue.IsEmpty());
  const std::vector<std::string> texts = {
      "first", "", "a text longer than the sixty-four bytes kept inline by the string", "last"};
  for (const std::string& text : texts) queue.Push(Text(text));
  EXPECT_FALSE(queue.IsEmpty());
  EXPECT_EQ(Drain(queue), texts);
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_TRUE(Drain(queue).empty());
  // The queue keeps working after being emptied.
  queue.Push(Text("queued"));
  MessageList mine;
  mine.Append(Text("mine"));
  queue.TakeAll(mine);
  EXPECT_EQ(Strings(mine), std::vector<std::string>{"queued"});
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"mine"});
  // A moved text hands over its storage.
  UString8 large = Text(std::string(100000, 'z'));
  const char* storage = large.data();
  queue.Push(std::move(large));
  queue.TakeAll(mine);
  EXPECT_TRUE(mine.Size() == 1 && mine.Front().data() == storage);
  // The exchange left "queued" behind; with the stop event set, queued texts still come first.
  Event stop;
  stop.Set();
  queue.Push(Text("a"));
  queue.Push(Text("b"));
  MessageList list, none;
  queue.WaitAndTakeAll(list, stop);
  queue.WaitAndTakeAll(none, stop);
  EXPECT_EQ(Strings(list), (std::vector<std::string>{"queued", "a", "b"}));
  EXPECT_TRUE(none.IsEmpty());
  // Popping keeps order; appending after the last node was popped must not reach a freed node.
  none.Append(Text("c"));
  list.AppendList(none);
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(Str(list.PopFront()), "queued");
  EXPECT_EQ(Str(list.PopFront()), "a");
  EXPECT_EQ(Str(list.PopFront()), "b");
  EXPECT_EQ(Str(list.PopFront()), "c");
  EXPECT_TRUE(list.IsEmpty());
  list.Append(Text("d"));
  list.AppendList(none);
  EXPECT_EQ(list.Size(), 1u);
  EXPECT_EQ(Str(list.Front()), "d");
}

TEST(MessageQueue, ConcurrentPushersKeepEachThreadsOrderAndNeverLeaveTheTakerAsleep) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 2000;
  MessageQueue queue;
  Event stop;
  std::atomic<bool> done{false};
  std::vector<std::vector<int>> seen(kThreads);
  std::thread taker([&] {
    // Sleeps and takes batches while the pushers run, so every wake-up races with appends; a
    // lost one leaves it asleep with texts queued.
    int total = 0;
    while (total < kThreads * kPerThread) {
      MessageList list;
      queue.WaitAndTakeAll(list, stop);
      if (list.IsEmpty()) break;
      for (const UString8& text : list) {
        const int number = std::stoi(Str(text));
        seen[number / kPerThread].push_back(number % kPerThread);
        ++total;
      }
    }
    done = true;
  });
  std::vector<std::thread> pushers;
  for (int t = 0; t < kThreads; ++t) {
    pushers.emplace_back([&queue, t] {
      for (int i = 0; i < kPerThread; ++i) queue.Push(Text(std::to_string(t * kPerThread + i)));
    });
  }
  for (auto& pusher : pushers) pusher.join();
  EXPECT_TRUE(Eventually(done)) << "the taker slept through a push";
  stop.Set();
  taker.join();
  for (int t = 0; t < kThreads; ++t) {
    SCOPED_TRACE(t);
    ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kPerThread));
    for (int i = 0; i < kPerThread; ++i) ASSERT_EQ(seen[t][i], i);
  }
  EXPECT_TRUE(queue.IsEmpty());
}

}  // namespace
