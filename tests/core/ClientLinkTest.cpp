#include "core/ClientLink.h"

#include "core/WakePipe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(10);

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }
UString8 Text(const std::string& text) { return UString8(text.data(), text.data() + text.size()); }

std::string Prefix(std::uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }
std::string Frame(const std::string& text) { return Prefix(std::uint32_t(text.size())) + text; }

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    ASSERT_GT(n, 0) << std::strerror(errno);
    done += static_cast<std::size_t>(n);
  }
}

template <class Predicate>
bool WaitUntil(Predicate predicate) {
  const auto deadline = Clock::now() + kPatience;
  while (!predicate()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Reads exactly count bytes within the patience; fewer on end of file or time-out.
std::string ReadBytes(int fd, std::size_t count) {
  std::string bytes;
  const auto deadline = Clock::now() + kPatience;
  while (bytes.size() < count && Clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

// True when the other end closed: poll reports it and read returns 0.
bool SeesEndOfFile(int fd) {
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(std::chrono::milliseconds(kPatience).count())) <= 0)
    return false;
  char byte;
  return ::read(fd, &byte, 1) == 0;
}

// The kernel's thread ids of this process.
std::set<int> Tasks() {
  std::set<int> tasks;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
    tasks.insert(std::stoi(entry.path().filename().string()));
  return tasks;
}

// How often the threads went to sleep of their own accord so far: each such sleep ends in one
// wake-up. A thread that has ended counts nothing.
long VoluntarySwitches(const std::set<int>& tasks) {
  long total = 0;
  for (const int task : tasks) {
    std::ifstream status("/proc/self/task/" + std::to_string(task) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::atol(line.c_str() + 24);
    }
  }
  return total;
}

class ClientLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::signal(SIGPIPE, SIG_IGN);
    Open();
  }
  void TearDown() override { Shutdown(); }

  enum class BeforeStart { kNothing, kClientCloses, kLinkCloses };

  void Open(BeforeStart before = BeforeStart::kNothing) {
    int in[2], out[2];
    ASSERT_EQ(::pipe(in), 0);
    ASSERT_EQ(::pipe(out), 0);
    clientWriteFd_ = in[1];
    if (before == BeforeStart::kClientCloses) CloseClientWriting();
    clientReadFd_ = out[0];
    link_ = new ClientLink(*incoming_, *outgoing_);
    ASSERT_EQ(link_->AddRef(), 1u);
    if (before == BeforeStart::kLinkCloses) link_->Close();
    ASSERT_TRUE(link_->Start(in[0], out[1]));
  }

  // Ends the client's side and destroys the link once its threads have let go of it.
  void Shutdown() {
    CloseClientWriting();
    if (WaitUntil([this] { return OnlyTheTestHoldsTheLink(); })) {
      EXPECT_EQ(link_->Release(), 0u);
      EXPECT_EQ(link_->Release(), 0u) << "the count went below zero";
      delete link_;
    } else {
      ADD_FAILURE() << "the link's threads did not let go";
      // Still in use by a worker: leak what it points at rather than free it under it.
      incoming_.release(), outgoing_.release();
      incoming_ = std::make_unique<MessageQueue>(), outgoing_ = std::make_unique<MessageQueue>();
    }
    link_ = nullptr;
    ::close(std::exchange(clientReadFd_, -1));
  }

  bool OnlyTheTestHoldsTheLink() {
    link_->AddRef();
    return link_->Release() == 1;
  }

  // Closing -1 only fails with EBADF.
  void CloseClientWriting() { ::close(std::exchange(clientWriteFd_, -1)); }

  // Waits for count texts in the incoming queue and returns them.
  std::vector<std::string> Incoming(std::size_t count) {
    std::vector<std::string> texts;
    WaitUntil([&] {
      MessageList list;
      incoming_->TakeAll(list);
      for (const UString8& text : list) texts.push_back(Str(text));
      return texts.size() >= count;
    });
    return texts;
  }

  std::string ReadFrame() {
    const std::string prefix = ReadBytes(clientReadFd_, 4);
    if (prefix.size() != 4) return "<no frame>";
    std::uint32_t length;
    std::memcpy(&length, prefix.data(), 4);
    return ReadBytes(clientReadFd_, length);
  }

  std::unique_ptr<MessageQueue> incoming_ = std::make_unique<MessageQueue>();
  std::unique_ptr<MessageQueue> outgoing_ = std::make_unique<MessageQueue>();
  ClientLink* link_ = nullptr;
  int clientWriteFd_ = -1;
  int clientReadFd_ = -1;
};

// Written a byte at a time, so that every read comes up short and must be repeated.
TEST_F(ClientLinkTest, FramesArriveWholeAndInOrderHoweverTheyAreCut) {
  const std::string bytes =
      Frame("<a>1</a>") + Frame("") + Frame(std::string(100, 'x')) + Frame("end");
  for (char byte : bytes) {
    WriteAll(clientWriteFd_, std::string(1, byte));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(Incoming(4), (std::vector<std::string>{"<a>1</a>", "", std::string(100, 'x'), "end"}));
  EXPECT_FALSE(link_->IsClosed());
}

TEST_F(ClientLinkTest, FramesThatEndTheLinkQueueNothingFurther) {
  // Each row runs on a fresh link.
  const std::pair<const char*, std::string> rows[] = {
      {"length one above the limit", Frame("kept") + Prefix(ClientLink::kMaximumMessageLength + 1)},
      {"frame cut off at end of file", Frame("kept") + Prefix(10) + "abc"},
      {"prefix cut off at end of file", Frame("kept") + std::string("\x05\x00", 2)},
      {"end of file between frames", Frame("kept")},
  };
  for (const auto& [what, bytes] : rows) {
    SCOPED_TRACE(what);
    Shutdown();
    Open();
    WriteAll(clientWriteFd_, bytes);
    // The oversized length must close the link without the client closing anything.
    if (std::string(what).find("limit") == std::string::npos) CloseClientWriting();
    EXPECT_TRUE(WaitUntil([this] { return link_->IsClosed(); }));
    EXPECT_EQ(Incoming(1), std::vector<std::string>{"kept"});
    // Closing the link closes its write side: the client sees end of file.
    EXPECT_TRUE(SeesEndOfFile(clientReadFd_));
    EXPECT_TRUE(incoming_->IsEmpty());
  }
}

TEST_F(ClientLinkTest, OutgoingTextsAreWrittenFramedInOrderUntilAnEmptyOneCloses) {
  const std::vector<std::string> texts = {"<x>one</x>", std::string(70000, 'y'), "three"};
  for (const std::string& text : texts) outgoing_->Push(Text(text));
  for (const std::string& text : texts) EXPECT_TRUE(ReadFrame() == text);
  EXPECT_TRUE(WaitUntil([this] { return outgoing_->IsEmpty(); }));
  EXPECT_FALSE(link_->IsClosed());
  outgoing_->Push(Text("before"));
  outgoing_->Push(Text(""));
  outgoing_->Push(Text("after"));
  EXPECT_EQ(ReadFrame(), "before");
  EXPECT_TRUE(SeesEndOfFile(clientReadFd_));
  EXPECT_TRUE(link_->IsClosed());
}

TEST_F(ClientLinkTest, CloseEndsTheWriteSideOnceAndLeavesTheReaderToItsNextFrame) {
  // A delivered frame shows the reader running; a moment later it is back in its blocking read.
  WriteAll(clientWriteFd_, Frame("first"));
  EXPECT_EQ(Incoming(1), std::vector<std::string>{"first"});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  link_->Close();
  EXPECT_TRUE(link_->IsClosed());
  EXPECT_TRUE(SeesEndOfFile(clientReadFd_));
  // The freed number is handed out again; a second close must not take the new descriptor.
  const int reused = ::dup(clientReadFd_);
  ASSERT_GE(reused, 0);
  link_->Close();
  EXPECT_NE(::fcntl(reused, F_GETFD), -1) << "descriptor " << reused << " was closed";
  ::close(reused);
  // The writer lets go at once; the reader stays blocked in read.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(OnlyTheTestHoldsTheLink());
  // The frame it was waiting for is still delivered, then the reader ends.
  WriteAll(clientWriteFd_, Frame("late"));
  EXPECT_TRUE(WaitUntil([this] { return OnlyTheTestHoldsTheLink(); }));
  EXPECT_EQ(Incoming(1), std::vector<std::string>{"late"});
}

TEST_F(ClientLinkTest, IdleLinkThreadsSleepUntilThereIsWorkAndAWriteWithoutReaderCloses) {
  Shutdown();
  const std::set<int> before = Tasks();
  Open();
  // The writer has certainly been through its wait once it has delivered a text.
  outgoing_->Push(Text("settle"));
  EXPECT_EQ(ReadFrame(), "settle");
  std::set<int> linkThreads;
  for (const int task : Tasks()) {
    if (before.count(task) == 0) linkThreads.insert(task);
  }
  ASSERT_EQ(linkThreads.size(), 2u);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const long start = VoluntarySwitches(linkThreads);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  // A writer that polled would wake several times in this span; a sleeping one not at all.
  EXPECT_LE(VoluntarySwitches(linkThreads) - start, 1);
  // It still answers at once when there is work.
  outgoing_->Push(Text("after the pause"));
  EXPECT_EQ(ReadFrame(), "after the pause");
  // A write to a pipe without reader closes the link.
  ::close(std::exchange(clientReadFd_, -1));
  outgoing_->Push(Text("nobody listens"));
  EXPECT_TRUE(WaitUntil([this] { return link_->IsClosed(); }));
}

// The main thread sleeps on the wake pipe: a frame, and the link closing, must each end its sleep.
TEST_F(ClientLinkTest, TheMainThreadIsWokenForEveryFrameAndWhenTheLinkCloses) {
  WakePipe wake;
  ASSERT_TRUE(wake.Open());
  incoming_->SetWorkSignal(&wake);
  for (const char* text : {"<a>1</a>", "<b/>"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(wake.Wait(20));
    WriteAll(clientWriteFd_, Frame(text));
    ASSERT_TRUE(wake.Wait(5000));
    wake.Drain();
    EXPECT_EQ(Incoming(1), std::vector<std::string>{text});
  }
  EXPECT_FALSE(wake.Wait(20));
  CloseClientWriting();
  ASSERT_TRUE(wake.Wait(5000));
  EXPECT_TRUE(WaitUntil([this] { return link_->IsClosed(); }));
  EXPECT_TRUE(incoming_->IsEmpty());
  // The pipe dies with this frame: the reader must be done raising it first.
  EXPECT_TRUE(WaitUntil([this] { return OnlyTheTestHoldsTheLink(); }));
  incoming_->SetWorkSignal(nullptr);
}

TEST_F(ClientLinkTest, NoLinkThreadOutlivesALinkClosedEarly) {
  // With end of file waiting, the reader may or may not close the link before the writer is
  // started, so that row runs the race a few times.
  for (const auto& [before, rounds] :
       {std::pair{BeforeStart::kLinkCloses, 1}, std::pair{BeforeStart::kClientCloses, 10}}) {
    SCOPED_TRACE(rounds);
    for (int round = 0; round < rounds; ++round) {
      Shutdown();
      const std::set<int> earlier = Tasks();
      Open(before);
      EXPECT_TRUE(WaitUntil([this] { return link_->IsClosed(); }));
      Shutdown();
      EXPECT_TRUE(WaitUntil([&] {
        const std::set<int> now = Tasks();
        return std::includes(earlier.begin(), earlier.end(), now.begin(), now.end());
      })) << "a thread kept running after its link was gone";
      Open();
    }
  }
}

}  // namespace
