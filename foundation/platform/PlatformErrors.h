// The errors of the thread library as our own exceptions: the event and its waiters throw
// EventError with the library's error number.
// AlreadySignaled is internal to the event waits and never reaches their callers.
#pragma once

#include <cstdint>

#include "foundation/platform/DebuggableException.h"

namespace UnixPlatform {
class Event;

class EventError : public DebuggableException {
 public:
  explicit EventError(std::uint32_t code) noexcept : code_(code) {}
  [[nodiscard]] std::uint32_t code() const noexcept { return code_; }

 private:
  std::uint32_t code_;
};

// Raised while registering a waiter with an event that is already signaled; the wait catches
// it and returns that event at once.
class AlreadySignaled : public DebuggableException {
 public:
  explicit AlreadySignaled(Event* event) noexcept : event_(event) {}
  [[nodiscard]] Event* event() const noexcept { return event_; }

 private:
  Event* event_;
};
}  // namespace UnixPlatform
