// The transcript file the tap appends its entries to, shared by both relay directions. It never
// fails towards its callers: the relay must go on whatever becomes of the file.
#pragma once

#include <mutex>
#include <string>

class Transcript {
 public:
  // Opens the file for appending, created with mode 0600 (it holds what the user saw); an
  // empty path or a file that cannot be opened leaves the transcript closed.
  explicit Transcript(const std::string& path);
  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

  [[nodiscard]] bool IsOpen() const noexcept { return fd_ >= 0; }
  // One write per entry, so that entries of taps sharing the file do not interleave; a failed
  // write is dropped.
  void Append(const std::string& entry) noexcept;

 private:
  int fd_ = -1;
  std::mutex lock_;
};
