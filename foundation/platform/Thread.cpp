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
  Thread(ThreadFunction f, void* a) : function(f), argument(a) {}

  bool started = false;
  // Written by the creator, read by the thread before it frees the record.
  std::atomic<bool> handleReleased{false};
  ThreadFunction function;
  void* argument;
  // A thread was actually created for this record; only the creator reads or writes it.
  bool running = false;
};
}  // namespace UnixPlatform

namespace {
using UnixPlatform::Thread;

constexpr std::uint32_t kReleasePollMilliseconds = 100;

// The least stack a thread gets, set once for the process before the first thread starts:
// whoever starts a thread must not have to know it.
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

void* Entry(void* raw) {
  StartBlock* block = static_cast<StartBlock*>(raw);
  Thread* thread = block->thread;
  RunSwallowingExceptions(*block);
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
  error = pthread_create(&id, &attributes, Entry, block);
  if (error != 0) {
    std::fprintf(stderr, "Unable to pthread_create (%d)\n", error);
    delete block;
    return false;
  }
  return true;
}
}  // namespace

void SetMinimumThreadStackSize(std::uint32_t bytes) {
  minimumStackSize.store(bytes, std::memory_order_relaxed);
}

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
  thread->running = CreateDetached(thread, attributes);
  pthread_attr_destroy(&attributes);
  return thread->running;
}

Thread* CreateThread(UnixPlatform::ThreadFunction function, void* argument) {
  if (function == nullptr) return nullptr;
  return new (std::nothrow) Thread(function, argument);
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

void SleepMilliseconds(std::uint32_t milliseconds) {
  unsigned int seconds = milliseconds / 1000;
  // sleep returns early on a signal; the rest of the whole seconds is still owed.
  while (seconds > 0) seconds = sleep(seconds);
  timeval rest{};
  rest.tv_sec = 0;
  rest.tv_usec = static_cast<suseconds_t>(milliseconds % 1000) * 1000;
  select(0, nullptr, nullptr, nullptr, &rest);
}
