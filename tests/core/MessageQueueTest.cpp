#include "core/MessageQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

UString8 Text(const std::string& text) { return UString8(text.data(), text.data() + text.size()); }
std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

std::vector<std::string> Drain(MessageQueue& queue) {
  MessageList list;
  queue.TakeAll(list);
  std::vector<std::string> texts;
  for (const UString8& text : list) texts.push_back(Str(text));
  return texts;
}

TEST(MessageQueue, TakeAllReturnsTextsInArrivalOrderAndLeavesQueueEmpty) {
  MessageQueue queue;
  EXPECT_TRUE(queue.IsEmpty());
  for (const char* text :
       {"first", "", "a text longer than the sixty-four bytes kept inline by the string", "last"}) {
    queue.Push(Text(text));
  }
  EXPECT_FALSE(queue.IsEmpty());
  EXPECT_EQ(Drain(queue),
            (std::vector<std::string>{
                "first", "", "a text longer than the sixty-four bytes kept inline by the string",
                "last"}));
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_TRUE(Drain(queue).empty());

  // The queue keeps working after being emptied.
  queue.Push(Text("again"));
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"again"});
}

TEST(MessageQueue, TakeAllExchangesWithTheCallersList) {
  MessageQueue queue;
  queue.Push(Text("queued"));
  MessageList mine;
  mine.Append(Text("mine"));
  queue.TakeAll(mine);
  ASSERT_EQ(mine.Size(), 1u);
  EXPECT_EQ(Str(mine.Front()), "queued");
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"mine"});
}

TEST(MessageList, PopFrontAndAppendListKeepOrder) {
  MessageList list;
  list.Append(Text("a"));
  list.Append(Text("b"));
  MessageList more;
  more.Append(Text("c"));
  list.AppendList(more);
  EXPECT_TRUE(more.IsEmpty());
  EXPECT_EQ(Str(list.PopFront()), "a");
  EXPECT_EQ(Str(list.PopFront()), "b");
  // Appending after the last node was popped must not reach a freed node.
  EXPECT_EQ(Str(list.PopFront()), "c");
  EXPECT_TRUE(list.IsEmpty());
  list.Append(Text("d"));
  list.AppendList(more);
  EXPECT_EQ(list.Size(), 1u);
  EXPECT_EQ(Str(list.Front()), "d");
}

}  // namespace
