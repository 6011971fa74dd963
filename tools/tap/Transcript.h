// The transcript file the tap appends its entries to, shared by both relay directions. Entries
// are made and written on a thread of its own, so that neither direction ever waits for the
// file, and it never fails towards its callers: the relay goes on whatever becomes of the file.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class Transcript {
 public:
  // Entries waiting beyond this many bytes of frames are dropped and counted.
  static constexpr std::size_t kBacklogLimit = 256u << 20;

  // Opens the file for appending, created with mode 0600 (it holds what the user saw); an
  // empty path or a file that cannot be opened leaves the transcript closed. Dropped entries
  // are reported in the name of `tapPid`.
  Transcript(const std::string& path, long tapPid);
  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

  [[nodiscard]] bool IsOpen() const noexcept { return fd_ >= 0; }
  // Queues an entry: `make` runs on the writer's thread and returns the entry's text, which is
  // written in one call, so that entries of taps sharing the file do not interleave. `weight`
  // is the size of the bytes `make` holds. A closed transcript drops it at once.
  void Post(std::function<std::string()> make, std::size_t weight) noexcept;
  // Returns once every entry posted before has been written (or has failed to be), or once the
  // writer has finished no entry for kFlushLimit: a transcript whose reader stalls must not keep
  // the tap from ending.
  void Flush();
  static constexpr std::chrono::seconds kFlushLimit{5};

 private:
  struct Pending {
    std::function<std::string()> make;
    std::size_t weight;
  };

  void WriterLoop();
  void WriteAll(const std::string& text) noexcept;

  int fd_ = -1;
  long tapPid_;
  std::mutex lock_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Pending> queue_;
  std::size_t backlog_ = 0;
  std::uint64_t dropped_ = 0;
  bool writing_ = false;
  std::uint64_t entriesDone_ = 0;
  bool stopping_ = false;
  std::thread writer_;
};
