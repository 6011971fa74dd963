#include "foundation/platform/Thread.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <new>

#include <pthread.h>
#include <sys/select.h>
#include <sys/time.h>
#include <unistd.h>

namespace UnixPlatform {
struct Thread {
  Thread(ThreadFunction f, void* a, bool self) : selfOwned(self), function(f), argument(a) {}

  bool started = false;
  const bool selfOwned;
  // The two sides of the release handshake: each is written by one thread and read by the other.
  std::atomic<bool> handleReleased{false};
  std::atomic<bool> finished{false};
  ThreadFunction function;
  void* argument;
  // Written by the thread itself: a self-owned record may be gone before pthread_create returns.
  pthread_t threadId{};
  // A thread was actually created for this record; only the creator reads or writes it.
  bool running = false;
};
}  // namespace UnixPlatform

namespace {
using UnixPlatform::Thread;

constexpr std::uint32_t kReleasePollMilliseconds = 100;

std::atomic<std::uint32_t> minimumStackSize{0};

struct StartBlock {
  UnixPlatform::ThreadFunction function;
  void* argument;
  Thread* thread;
};

void RunSwallowingExceptions(const StartBlock& block) {
  try {
    block.function(block.argument);
  } catch (...) {
    // A worker has nobody to report to; it simply ends.
  }
}

void* SelfOwnedEntry(void* raw) {
  StartBlock* block = static_cast<StartBlock*>(raw);
  block->thread->threadId = pthread_self();
  RunSwallowingExceptions(*block);
  delete block->thread;
  delete block;
  return nullptr;
}

void* HandleOwnedEntry(void* raw) {
  StartBlock* block = static_cast<StartBlock*>(raw);
  Thread* thread = block->thread;
  thread->threadId = pthread_self();
  RunSwallowingExceptions(*block);
  thread->finished.store(true, std::memory_order_release);
  // The creator may still look at the record; it goes only once the handle is let go.
  while (!thread->handleReleased.load(std::memory_order_acquire)) {
    SleepMilliseconds(kReleasePollMilliseconds);
  }
  delete thread;
  delete block;
  return nullptr;
}

// Creates the detached thread once the attributes are ready; false after printing the reason.
bool CreateDetached(Thread* thread, pthread_attr_t& attributes) {
  int error = pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  if (error != 0) {
    std::fprintf(stderr, "Unable to pthread_attr_setdetachstate (%d)\n", error);
    return false;
  }
  std::size_t defaultSize = 0;
  error = pthread_attr_getstacksize(&attributes, &defaultSize);
  if (error != 0) {
    std::fprintf(stderr, "Unable to pthread_attr_getstacksize (%d)\n", error);
    return false;
  }
  const std::size_t minimum = minimumStackSize.load(std::memory_order_relaxed);
  if (minimum > defaultSize) {
    error = pthread_attr_setstacksize(&attributes, minimum);
    if (error != 0) {
      std::fprintf(stderr, "Unable to pthread_attr_setstacksize (%d)\n", error);
      return false;
    }
  }
  StartBlock* block = new (std::nothrow) StartBlock{thread->function, thread->argument, thread};
  if (block == nullptr) {
    std::fprintf(stderr, "Unable to pthread_create (%d)\n", ENOMEM);
    return false;
  }
  pthread_t id;
  error = pthread_create(&id, &attributes, thread->selfOwned ? SelfOwnedEntry : HandleOwnedEntry,
                         block);
  if (error != 0) {
    std::fprintf(stderr, "Unable to pthread_create (%d)\n", error);
    delete block;
    return false;
  }
  return true;
}

Thread* NewRecord(UnixPlatform::ThreadFunction function, void* argument, bool selfOwned) {
  if (function == nullptr) return nullptr;
  return new (std::nothrow) Thread(function, argument, selfOwned);
}
}  // namespace

void SetMinimumThreadStackSize(std::uint32_t bytes) {
  minimumStackSize.store(bytes, std::memory_order_relaxed);
}

std::uint32_t MinimumThreadStackSize() { return minimumStackSize.load(std::memory_order_relaxed); }

bool Start(Thread* thread) {
  if (thread == nullptr) return false;
  if (thread->started) return true;
  thread->started = true;
  pthread_attr_t attributes;
  const int error = pthread_attr_init(&attributes);
  if (error != 0) {
    std::fprintf(stderr, "Unable to pthread_attr_init (%d)\n", error);
    return false;
  }
  // Marked before the thread exists: a self-owned record belongs to its thread from then on.
  thread->running = true;
  const bool created = CreateDetached(thread, attributes);
  // Only a failed start may touch the record again: no thread was made that could own it.
  if (!created) thread->running = false;
  pthread_attr_destroy(&attributes);
  return created;
}

bool StartThread(UnixPlatform::ThreadFunction function, void* argument) {
  Thread* thread = NewRecord(function, argument, true);
  if (thread == nullptr) return false;
  if (Start(thread)) return true;
  delete thread;
  return false;
}

Thread* StartThreadWithHandle(UnixPlatform::ThreadFunction function, void* argument) {
  Thread* thread = NewRecord(function, argument, false);
  if (thread == nullptr) return nullptr;
  if (Start(thread)) return thread;
  delete thread;
  return nullptr;
}

Thread* CreateThread(UnixPlatform::ThreadFunction function, void* argument) {
  return NewRecord(function, argument, false);
}

void DeleteThread(Thread* thread) { ReleaseHandle(thread); }

void ReleaseHandle(Thread* thread) {
  if (thread == nullptr) return;
  if (!thread->running) {
    delete thread;
    return;
  }
  thread->handleReleased.store(true, std::memory_order_release);
}

bool ThreadFinished(const Thread* thread) {
  return thread != nullptr && thread->finished.load(std::memory_order_acquire);
}

void SleepMilliseconds(std::uint32_t milliseconds) {
  unsigned int seconds = milliseconds / 1000;
  // sleep returns early on a signal; the rest of the whole seconds is still owed.
  while (seconds > 0) seconds = sleep(seconds);
  timeval rest{};
  rest.tv_sec = 0;
  rest.tv_usec = static_cast<suseconds_t>(milliseconds % 1000) * 1000;
  select(0, nullptr, nullptr, nullptr, &rest);
}
