// The client link's writer: how long a queued text takes to become readable at the client's end
// of the pipe (median and 99th percentile over 1000 texts), against a bare pipe write on the
// same thread and a relay thread that blocks in read(2) and writes on, the cheapest hand-over
// between two threads. The idle program's wake-ups are counted on the real program, with its
// dialog open, by bench/x_bench.py.
#include <benchmark/benchmark.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/ClientLink.h"
#include "core/MessageQueue.h"
#include "foundation/platform/Thread.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMessages = 1000;
// About the size of an ActionTaken answer.
constexpr std::size_t kMessageBytes = 300;

void Fail(const char* what) {
  std::fprintf(stderr, "link benchmark: %s: %s\n", what, std::strerror(errno));
  std::abort();
}

void MakePipe(int fds[2]) {
  if (::pipe(fds) != 0) Fail("pipe");
}

void WaitReadable(int fd) {
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, -1) != 1) {
    if (errno != EINTR) Fail("poll");
  }
}

void ReadExactly(int fd, char* target, std::size_t count) {
  while (count > 0) {
    const ssize_t got = ::read(fd, target, count);
    if (got <= 0) Fail("read");
    target += got;
    count -= static_cast<std::size_t>(got);
  }
}

void WriteAll(int fd, const char* bytes, std::size_t count) {
  if (::write(fd, bytes, count) != static_cast<ssize_t>(count)) Fail("write");
}

std::string Frame(const std::string& text) {
  const auto length = static_cast<std::uint32_t>(text.size());
  std::string frame(4, '\0');
  std::memcpy(frame.data(), &length, 4);
  return frame + text;
}

// A live link on two pipes, as the client sees it from the other ends.
class LiveLink {
 public:
  LiveLink() {
    std::signal(SIGPIPE, SIG_IGN);
    int in[2];
    int out[2];
    MakePipe(in);
    MakePipe(out);
    clientWrite_ = in[1];
    clientRead_ = out[0];
    link_ = new ClientLink(incoming_, outgoing_);
    link_->AddRef();
    if (!link_->Start(in[0], out[1])) Fail("link start");
  }
  ~LiveLink() {
    // End of file makes the reader close the link, which wakes the writer; both then let go.
    ::close(clientWrite_);
    for (;;) {
      link_->AddRef();
      if (link_->Release() == 1) break;
      SleepMilliseconds(1);
    }
    (void)link_->Release();
    delete link_;
    ::close(clientRead_);
  }
  LiveLink(const LiveLink&) = delete;
  LiveLink& operator=(const LiveLink&) = delete;

  MessageQueue& outgoing() { return outgoing_; }
  [[nodiscard]] int clientRead() const { return clientRead_; }

 private:
  MessageQueue incoming_;
  MessageQueue outgoing_;
  ClientLink* link_ = nullptr;
  int clientWrite_ = -1;
  int clientRead_ = -1;
};

// Median and 99th percentile of the samples as counters, in microseconds.
void ReportPercentiles(benchmark::State& state, std::vector<double>& seconds) {
  if (seconds.empty()) return;
  std::sort(seconds.begin(), seconds.end());
  const auto at = [&](double fraction) {
    return seconds[static_cast<std::size_t>(fraction * static_cast<double>(seconds.size() - 1))] *
           1e6;
  };
  state.counters["median_us"] = at(0.5);
  state.counters["p99_us"] = at(0.99);
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Ours(benchmark::State& state) {
  LiveLink live;
  const std::string text(kMessageBytes, 'a');
  const UString8 queued(text.data(), text.data() + text.size());
  std::vector<char> frame(4 + kMessageBytes);
  std::vector<double> samples;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    live.outgoing().Push(queued);
    WaitReadable(live.clientRead());
    const double elapsed = SecondsSince(start);
    state.SetIterationTime(elapsed);
    samples.push_back(elapsed);
    ReadExactly(live.clientRead(), frame.data(), frame.size());
    if (std::memcmp(frame.data() + 4, text.data(), kMessageBytes) != 0) Fail("wrong frame");
  }
  ReportPercentiles(state, samples);
}

void BarePipe(benchmark::State& state) {
  int fds[2];
  MakePipe(fds);
  const std::string frame = Frame(std::string(kMessageBytes, 'a'));
  std::vector<char> back(frame.size());
  std::vector<double> samples;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    WriteAll(fds[1], frame.data(), frame.size());
    WaitReadable(fds[0]);
    const double elapsed = SecondsSince(start);
    state.SetIterationTime(elapsed);
    samples.push_back(elapsed);
    ReadExactly(fds[0], back.data(), back.size());
  }
  ReportPercentiles(state, samples);
  ::close(fds[0]);
  ::close(fds[1]);
}

void RelayThread(benchmark::State& state) {
  int first[2];
  int second[2];
  MakePipe(first);
  MakePipe(second);
  const std::string frame = Frame(std::string(kMessageBytes, 'a'));
  // Passes every frame on until end of file.
  std::thread relay([&] {
    std::vector<char> buffer(frame.size());
    for (;;) {
      const ssize_t got = ::read(first[0], buffer.data(), buffer.size());
      if (got <= 0) break;
      WriteAll(second[1], buffer.data(), static_cast<std::size_t>(got));
    }
  });
  std::vector<char> back(frame.size());
  std::vector<double> samples;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    WriteAll(first[1], frame.data(), frame.size());
    WaitReadable(second[0]);
    const double elapsed = SecondsSince(start);
    state.SetIterationTime(elapsed);
    samples.push_back(elapsed);
    ReadExactly(second[0], back.data(), back.size());
  }
  ::close(first[1]);
  relay.join();
  ReportPercentiles(state, samples);
  for (const int fd : {first[0], second[0], second[1]}) ::close(fd);
}

// Voluntary context switches of every thread of the process so far, ended ones included.
}  // namespace

BENCHMARK(Ours)
    ->Name("LinkQueuedToReadable/ours")
    ->Iterations(kMessages)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BarePipe)
    ->Name("LinkQueuedToReadable/bare pipe")
    ->Iterations(kMessages)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RelayThread)
    ->Name("LinkQueuedToReadable/relay thread")
    ->Iterations(kMessages)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
