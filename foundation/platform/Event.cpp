#include "foundation/platform/Event.h"

#include "foundation/platform/DebuggableException.h"
#include "foundation/platform/TimeUnits.h"

#include <cerrno>
#include <limits>

namespace UnixPlatform {
namespace {
constexpr long kNanosecondsPerMicrosecond = 1000;
constexpr long kNanosecondsPerSecond = 1000000000;

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

void Check(int error) {
  if (error != 0) throw EventError(static_cast<std::uint32_t>(error));
}

// Raised while registering a waiter with an event that is already signaled; the wait catches it
// and returns that event at once.
class AlreadySignaled : public DebuggableException {
 public:
  explicit AlreadySignaled(Event* event) noexcept : event_(event) {}
  [[nodiscard]] Event* event() const noexcept { return event_; }

 protected:
  [[nodiscard]] const char* Description() const noexcept override {
    return "event already signaled";
  }

 private:
  Event* event_;
};

// One wait call's meeting point: whichever event is set first stores itself here and wakes
// the waiting thread.
class Waiter {
 public:
  Waiter() {
    Check(pthread_mutex_init(&mutex_, nullptr));
    const int error = pthread_cond_init(&condition_, nullptr);
    if (error != 0) {
      pthread_mutex_destroy(&mutex_);
      Check(error);
    }
  }
  ~Waiter() {
    pthread_cond_destroy(&condition_);
    pthread_mutex_destroy(&mutex_);
  }
  Waiter(const Waiter&) = delete;
  Waiter& operator=(const Waiter&) = delete;

  void Notify(Event* event) {
    Check(pthread_mutex_lock(&mutex_));
    signaledBy_ = event;
    const int error = pthread_cond_broadcast(&condition_);
    pthread_mutex_unlock(&mutex_);
    Check(error);
  }

  Event* WaitFor(std::int64_t timeout) {
    Check(pthread_mutex_lock(&mutex_));
    Event* result = nullptr;
    int error = 0;
    if (signaledBy_ != nullptr) {
      result = signaledBy_;
    } else {
      error = Sleep(timeout);
      result = signaledBy_;
    }
    pthread_mutex_unlock(&mutex_);
    Check(error);
    return result;
  }

 private:
  // Called with mutex_ held; returns a thread-library error, 0 for a wake-up or a timeout.
  int Sleep(std::int64_t timeout) {
    timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return errno;
    const WaitDeadline deadline = ComputeDeadline(now, timeout);
    // A spurious wake-up is not a signal: keep waiting until one arrives or time is up.
    while (signaledBy_ == nullptr) {
      const int error = deadline.timed ? pthread_cond_timedwait(&condition_, &mutex_, &deadline.at)
                                       : pthread_cond_wait(&condition_, &mutex_);
      if (error == ETIMEDOUT) return 0;
      if (error != 0) return error;
    }
    return 0;
  }

  pthread_mutex_t mutex_;
  pthread_cond_t condition_;
  Event* signaledBy_ = nullptr;
};
}  // namespace

struct Event::Registration {
  Registration* next = nullptr;
  Waiter* waiter = nullptr;
  Event* event = nullptr;
};

WaitDeadline ComputeDeadline(const timespec& now, std::int64_t timeout) noexcept {
  constexpr std::int64_t kLargestSeconds = std::numeric_limits<std::int64_t>::max();
  if (timeout < 0) timeout = 0;
  std::int64_t seconds = timeout / kMicrosecondsPerSecond;
  long nanoseconds = now.tv_nsec + static_cast<long>(timeout % kMicrosecondsPerSecond) *
                                       kNanosecondsPerMicrosecond;
  if (nanoseconds >= kNanosecondsPerSecond) {
    nanoseconds -= kNanosecondsPerSecond;
    ++seconds;
  }
  // Saturate rather than overflow; the largest value itself is kept clear of.
  const std::int64_t base = now.tv_sec;
  seconds = seconds > kLargestSeconds - base ? kLargestSeconds : base + seconds;
  if (seconds == kLargestSeconds) seconds = kLargestSeconds - 1;
  WaitDeadline deadline{};
  deadline.timed = timeout <= kLongestTimedWait;
  deadline.at.tv_sec = static_cast<time_t>(seconds);
  deadline.at.tv_nsec = nanoseconds;
  return deadline;
}

void Event::Set() {
  PlainLock::Guard guard(lock_);
  signaled_ = true;
  for (Registration* r = waiters_; r != nullptr; r = r->next) r->waiter->Notify(this);
}

void Event::Reset() {
  PlainLock::Guard guard(lock_);
  signaled_ = false;
}

void Event::Register(Registration& registration) {
  PlainLock::Guard guard(lock_);
  if (signaled_) throw AlreadySignaled(this);
  registration.next = waiters_;
  waiters_ = &registration;
}

void Event::Unregister(Registration& registration) {
  PlainLock::Guard guard(lock_);
  for (Registration** link = &waiters_; *link != nullptr; link = &(*link)->next) {
    if (*link == &registration) {
      *link = registration.next;
      return;
    }
  }
}

Event* Event::WaitAny(Event& first, Event& second, std::int64_t timeout) {
  Event* const events[] = {&first, &second};
  constexpr int kCount = 2;
  Waiter waiter;
  Registration registrations[kCount];
  int registered = 0;
  // Every way out of the wait takes the waiter off the events it was put on, last one first,
  // so no Set can reach the waiter once it is gone.
  auto unregisterAll = [&] {
    while (registered > 0) {
      --registered;
      registrations[registered].event->Unregister(registrations[registered]);
    }
  };
  Event* result = nullptr;
  try {
    for (; registered < kCount; ++registered) {
      registrations[registered].waiter = &waiter;
      registrations[registered].event = events[registered];
      events[registered]->Register(registrations[registered]);
    }
    result = waiter.WaitFor(timeout);
  } catch (const AlreadySignaled& signaled) {
    result = signaled.event();
  } catch (...) {
    unregisterAll();
    throw;
  }
  unregisterAll();
  return result;
}
}  // namespace UnixPlatform
