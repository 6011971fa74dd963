// Where the retrying file operations report retries: a success that needed more than one attempt,
// and the last failure before it is rethrown. The base class ignores both; a caller that wants a
// record passes its own subclass. Also the retry schedule those operations share.
#pragma once

#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileLocation.h"

#include <cstdint>

class FileRetryLog {
 public:
  virtual ~FileRetryLog() = default;
  // `second` is null for operations on one location.
  virtual void RetrySucceeded(const char* operation, const FileLocation& location,
                              const FileLocation* second, std::uint32_t attempts);
  virtual void RetryGaveUp(const char* operation, const FileLocation& location,
                           const FileLocation* second, std::uint32_t attempts);
};

// The log that ignores everything, for callers with nothing to record.
[[nodiscard]] FileRetryLog& SilentRetryLog();

// Attempts at most `attempts` times, sleeping `firstSleep` milliseconds after the first failure
// and twice as long after each further one.
struct RetrySchedule {
  std::uint32_t attempts;
  std::uint32_t firstSleep;
};
// The file operations: 40, 80, ... 5120 ms between nine attempts, 10.2 s in all.
inline constexpr RetrySchedule kFileRetrySchedule{9, 40};
// fsync on file systems that fail it transiently: 16, 32, ... 1024 ms between eight attempts.
inline constexpr RetrySchedule kFlushRetrySchedule{8, 16};

// The sleep between attempts. Tests put their own in to see the schedule without waiting it;
// null puts SleepMilliseconds back. Returns the one that was in place.
using RetrySleepFunction = void (*)(std::uint32_t milliseconds);
RetrySleepFunction ReplaceRetrySleep(RetrySleepFunction sleep) noexcept;
void RetrySleep(std::uint32_t milliseconds);

// Runs attempt() on the schedule. An empty location is refused at once, before any attempt,
// and an EmptyFileLocationError from an attempt is never retried; every other exception is.
template <class Attempt>
void RetryFileOperation(const char* operation, const FileLocation& location,
                        const FileLocation* second, FileRetryLog& log, Attempt&& attempt,
                        RetrySchedule schedule = kFileRetrySchedule) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  if (second && second->IsEmpty()) throw EmptyFileLocationError(second->DisplayText(), 0);
  std::uint32_t sleep = schedule.firstSleep;
  for (std::uint32_t number = 1;; ++number) {
    try {
      attempt();
      if (number > 1) log.RetrySucceeded(operation, location, second, number);
      return;
    } catch (const EmptyFileLocationError&) {
      throw;
    } catch (...) {
      if (number >= schedule.attempts) {
        log.RetryGaveUp(operation, location, second, number);
        throw;
      }
    }
    RetrySleep(sleep);
    sleep *= 2;
  }
}
