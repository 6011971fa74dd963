// A manual-reset event: once Set it stays signaled until Reset, and every thread waiting on it
// wakes. A thread waits on two events at once, with a timeout in microseconds.
// Thread-library errors of a wait throw UnixPlatform::EventError.
#pragma once

#include <cstdint>
#include <ctime>

#include "foundation/platform/DebuggableException.h"
#include "foundation/platform/PlainLock.h"

namespace UnixPlatform {
// A thread-library call of a wait failed; code is the library's error number.
class EventError : public DebuggableException {
 public:
  explicit EventError(std::uint32_t code) noexcept : code_(code) {}
  [[nodiscard]] std::uint32_t code() const noexcept { return code_; }

 protected:
  [[nodiscard]] const char* Description() const noexcept override {
    return "thread library failure in an event wait";
  }

 private:
  std::uint32_t code_;
};

// Timeouts above this many microseconds (0xFFFFFFFF milliseconds and up) wait without end.
inline constexpr std::int64_t kLongestTimedWait = 4294967294999;

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
