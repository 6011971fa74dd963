// A manual-reset event: once Set it stays signaled until Reset, and every thread waiting on it
// wakes. A thread waits on two events at once, with a timeout in microseconds.
// A thread-library error of a wait throws a DebuggableException naming it.
#pragma once

#include <cstdint>
#include <ctime>

#include "foundation/platform/PlainLock.h"

namespace UnixPlatform {
// Timeouts above this many microseconds (0xFFFFFFFF milliseconds and up) wait without end.
inline constexpr std::int64_t kLongestTimedWait = 4294967294999;
// A timeout that never ends.
inline constexpr std::int64_t kWaitWithoutEnd = INT64_MAX;

// When a wait gives up: `timed` false means never; otherwise at the real-time instant `at`.
struct WaitDeadline {
  bool timed;
  timespec at;
};
// The deadline of a wait that starts at `now` with a timeout in microseconds; a negative
// timeout is an immediate deadline.
[[nodiscard]] WaitDeadline ComputeDeadline(const timespec& now, std::int64_t timeout) noexcept;

class Event {
 public:
  Event() = default;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  // Signals the event and wakes everyone waiting on it.
  void Set();
  void Reset();

  // The event that was found or became signaled (the first in argument order when both are),
  // or null when the timeout passed.
  [[nodiscard]] static Event* WaitAny(Event& first, Event& second, std::int64_t timeout);

  // One per event a wait is registered with; lives on the waiting thread's stack.
  struct Registration;

 private:
  void Register(Registration& registration);
  void Unregister(Registration& registration);

  PlainLock lock_;
  Registration* waiters_ = nullptr;
  bool signaled_ = false;
};
}  // namespace UnixPlatform
