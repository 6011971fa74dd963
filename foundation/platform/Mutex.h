// A recursive lock built from a plain POSIX mutex and a condition variable: the owning thread
// may lock it again, other threads wait until its count drops to zero. Shared reference counts
// and events are guarded by it. Thread-library errors throw UnixPlatform::MutexError.
#pragma once

#include <cstdint>

#include <pthread.h>

namespace UnixPlatform {
class Mutex {
 public:
  // Holds the lock for a scope; unlocking errors in the destructor end the process.
  class Guard {
   public:
    explicit Guard(Mutex& mutex) : token_(mutex.Lock()) {}
    // Adopts a token from TryLock; a null token guards nothing.
    explicit Guard(Mutex* token) noexcept : token_(token) {}
    ~Guard() { Mutex::Unlock(token_); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

    [[nodiscard]] explicit operator bool() const noexcept { return token_ != nullptr; }

   private:
    Mutex* token_;
  };

  Mutex() noexcept = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void Init();
  // Ignores the library's errors: there is nothing left to do about them.
  void Destroy() noexcept;

  // The token is the mutex itself; hand it to Unlock or a Guard.
  [[nodiscard]] Mutex* Lock();
  // Null when another thread holds the lock; never waits.
  [[nodiscard]] Mutex* TryLock();
  // A null token is ignored.
  static void Unlock(Mutex* token);

 private:
  pthread_mutex_t mutex_;
  pthread_cond_t condition_;
  std::uint32_t owner_ = 0;
  std::uint32_t count_ = 0;
};
}  // namespace UnixPlatform
