#include "tools/tap/Transcript.h"

#include "tools/tap/TranscriptFormat.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

Transcript::Transcript(const std::string& path, long tapPid) : tapPid_(tapPid) {
  if (path.empty()) return;
  // Without O_NONBLOCK a FIFO nobody reads would hold the tap in open() before the program
  // starts; once open, writes may wait, on the writer's thread only.
  do {
    fd_ = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_NONBLOCK, 0600);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) return;
  fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  // Not the program's business: it must not inherit the file.
  fcntl(fd_, F_SETFD, FD_CLOEXEC);
  try {
    writer_ = std::thread(&Transcript::WriterLoop, this);
  } catch (...) {
    close(fd_);
    fd_ = -1;
  }
}

Transcript::~Transcript() {
  if (fd_ < 0) return;
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  wake_.notify_one();
  writer_.join();
  close(fd_);
}

void Transcript::Post(std::function<std::string()> make, std::size_t weight) noexcept {
  if (fd_ < 0) return;
  try {
    std::lock_guard<std::mutex> hold(lock_);
    if (backlog_ + weight > kBacklogLimit) {
      ++dropped_;
      return;
    }
    queue_.push_back({std::move(make), weight});
    backlog_ += weight;
  } catch (...) {
    // Out of memory: this entry is lost, the relay goes on.
    return;
  }
  wake_.notify_one();
}

void Transcript::Flush() {
  if (fd_ < 0) return;
  std::unique_lock<std::mutex> hold(lock_);
  const auto idle = [this] { return queue_.empty() && dropped_ == 0 && !writing_; };
  // Gives up only on a writer that has stopped moving: a slow disk still gets every entry.
  for (std::uint64_t done = entriesDone_; !idle_.wait_for(hold, kFlushLimit, idle);
       done = entriesDone_) {
    if (entriesDone_ == done) return;
  }
}

void Transcript::WriterLoop() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    wake_.wait(hold, [this] { return stopping_ || dropped_ != 0 || !queue_.empty(); });
    if (queue_.empty() && dropped_ == 0) return;  // stopping, with nothing left
    const std::uint64_t dropped = dropped_;
    dropped_ = 0;
    Pending next;
    if (dropped == 0) {
      next = std::move(queue_.front());
      queue_.pop_front();
    }
    writing_ = true;
    hold.unlock();
    try {
      WriteAll(dropped != 0 ? EntriesDroppedEntry(OriginNow(tapPid_), dropped) : next.make());
    } catch (...) {
      // An entry that cannot be made is left out; the next ones still come.
    }
    hold.lock();
    backlog_ -= dropped != 0 ? 0 : next.weight;
    writing_ = false;
    ++entriesDone_;
    idle_.notify_all();
  }
}

void Transcript::WriteAll(const std::string& text) noexcept {
  const char* at = text.data();
  const char* end = at + text.size();
  while (at != end) {
    const ssize_t written = write(fd_, at, static_cast<std::size_t>(end - at));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    at += written;
  }
}
