// The program's one lock: a POSIX mutex of the recursive type, held through a scope guard. The
// client link guards its queues, its closed flag and its reference count with these, the events
// their waiter lists.
#pragma once

#include <pthread.h>

class PlainLock {
 public:
  PlainLock() noexcept;
  ~PlainLock();
  PlainLock(const PlainLock&) = delete;
  PlainLock& operator=(const PlainLock&) = delete;

  void Lock() noexcept;
  void Unlock() noexcept;

  class Guard {
   public:
    explicit Guard(PlainLock& lock) noexcept : lock_(lock) { lock_.Lock(); }
    ~Guard() { lock_.Unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    PlainLock& lock_;
  };

 private:
  pthread_mutex_t mutex_;
};
