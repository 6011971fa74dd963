#include "tools/tap/Transcript.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

Transcript::Transcript(const std::string& path) {
  if (path.empty()) return;
  do {
    fd_ = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY, 0600);
  } while (fd_ < 0 && errno == EINTR);
  // Not the program's business: it must not inherit the file.
  if (fd_ >= 0) fcntl(fd_, F_SETFD, FD_CLOEXEC);
}

Transcript::~Transcript() {
  if (fd_ >= 0) close(fd_);
}

void Transcript::Append(const std::string& entry) noexcept {
  if (fd_ < 0) return;
  std::lock_guard<std::mutex> hold(lock_);
  const char* at = entry.data();
  const char* end = at + entry.size();
  while (at != end) {
    const ssize_t written = write(fd_, at, static_cast<std::size_t>(end - at));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    at += written;
  }
}
