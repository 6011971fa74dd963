#include "foundation/platform/FileRetryLog.h"

#include "foundation/platform/Thread.h"

#include <atomic>

namespace {

std::atomic<RetrySleepFunction> retrySleep{nullptr};

}  // namespace

void FileRetryLog::RetrySucceeded(const char*, const FileLocation&, const FileLocation*,
                                  std::uint32_t) {}
void FileRetryLog::RetryGaveUp(const char*, const FileLocation&, const FileLocation*,
                               std::uint32_t) {}

FileRetryLog& SilentRetryLog() {
  static FileRetryLog log;
  return log;
}

RetrySleepFunction ReplaceRetrySleep(RetrySleepFunction sleep) noexcept {
  return retrySleep.exchange(sleep);
}

void RetrySleep(std::uint32_t milliseconds) {
  if (RetrySleepFunction sleep = retrySleep.load()) {
    sleep(milliseconds);
  } else {
    SleepMilliseconds(milliseconds);
  }
}
