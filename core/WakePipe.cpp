#include "core/WakePipe.h"

#include "foundation/platform/Thread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>

namespace {

// Moves the descriptor to 3 or above: the link reads and writes 0 and 1 by number, and a wake
// pipe given one of them by a starter that left it closed would be read as the client.
int AboveStandardStreams(int fd) noexcept {
  if (fd > 2) return fd;
  const int moved = ::fcntl(fd, F_DUPFD, 3);
  ::close(fd);
  return moved;
}

bool MakeNonBlockingAndPrivate(int fd) noexcept {
  if (fd == -1) return false;
  const int statusFlags = ::fcntl(fd, F_GETFL);
  const int descriptorFlags = ::fcntl(fd, F_GETFD);
  return statusFlags != -1 && descriptorFlags != -1 &&
         ::fcntl(fd, F_SETFL, statusFlags | O_NONBLOCK) != -1 &&
         ::fcntl(fd, F_SETFD, descriptorFlags | FD_CLOEXEC) != -1;
}

std::int64_t MonotonicMilliseconds() noexcept {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

WakePipe::~WakePipe() {
  if (readEnd_ != -1) ::close(readEnd_);
  if (writeEnd_ != -1) ::close(writeEnd_);
}

bool WakePipe::Open() noexcept {
  if (readEnd_ != -1) return true;
  int ends[2];
  if (::pipe(ends) != 0) return false;
  ends[0] = AboveStandardStreams(ends[0]);
  ends[1] = AboveStandardStreams(ends[1]);
  if (!MakeNonBlockingAndPrivate(ends[0]) || !MakeNonBlockingAndPrivate(ends[1])) {
    if (ends[0] != -1) ::close(ends[0]);
    if (ends[1] != -1) ::close(ends[1]);
    return false;
  }
  readEnd_ = ends[0];
  writeEnd_ = ends[1];
  return true;
}

void WakePipe::Raise() noexcept {
  if (writeEnd_ == -1) return;
  const char byte = 1;
  while (::write(writeEnd_, &byte, 1) < 0 && errno == EINTR) {
  }
}

bool WakePipe::Wait(int timeoutMilliseconds) const noexcept {
  if (readEnd_ == -1) {
    // No pipe: the caller still gets its pause, as the plain sleep it stands for.
    if (timeoutMilliseconds > 0) SleepMilliseconds(static_cast<std::uint32_t>(timeoutMilliseconds));
    return false;
  }
  const std::int64_t deadline = MonotonicMilliseconds() + timeoutMilliseconds;
  for (;;) {
    // A zero timeout still looks once.
    const std::int64_t left = std::max<std::int64_t>(deadline - MonotonicMilliseconds(), 0);
    pollfd watch{readEnd_, POLLIN, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(left));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

void WakePipe::Drain() const noexcept {
  if (readEnd_ == -1) return;
  char bytes[64];
  for (;;) {
    const ssize_t got = ::read(readEnd_, bytes, sizeof bytes);
    if (got > 0) continue;
    if (got < 0 && errno == EINTR) continue;
    return;  // empty (EAGAIN), or the pipe is gone
  }
}
