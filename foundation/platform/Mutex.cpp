#include "foundation/platform/Mutex.h"

#include <cerrno>
#include <limits>

#include "foundation/platform/PlatformErrors.h"
#include "foundation/platform/Thread.h"

namespace UnixPlatform {
namespace {
void Check(int error) {
  if (error != 0) throw MutexError(static_cast<std::uint32_t>(error));
}

// Holds the internal mutex for one operation, so an error in between releases it before the
// exception leaves. Releasing a mutex this thread holds cannot fail in a way we could mend.
class InternalLock {
 public:
  explicit InternalLock(pthread_mutex_t& mutex) : mutex_(mutex) {
    Check(pthread_mutex_lock(&mutex_));
  }
  ~InternalLock() { pthread_mutex_unlock(&mutex_); }
  InternalLock(const InternalLock&) = delete;
  InternalLock& operator=(const InternalLock&) = delete;

 private:
  pthread_mutex_t& mutex_;
};
}  // namespace

void Mutex::Init() {
  count_ = 0;
  owner_ = 0;
  Check(pthread_mutex_init(&mutex_, nullptr));
  pthread_condattr_t attributes;
  int error = pthread_condattr_init(&attributes);
  if (error == 0) {
    error = pthread_cond_init(&condition_, &attributes);
    pthread_condattr_destroy(&attributes);
  }
  if (error != 0) {
    pthread_mutex_destroy(&mutex_);
    Check(error);
  }
}

void Mutex::Destroy() noexcept {
  pthread_cond_destroy(&condition_);
  pthread_mutex_destroy(&mutex_);
}

Mutex* Mutex::Lock() {
  const std::uint32_t self = CurrentThreadIdentifier();
  InternalLock lock(mutex_);
  while (count_ != 0 && owner_ != self) Check(pthread_cond_wait(&condition_, &mutex_));
  // A wrapped count would hand the lock to everyone; refuse like a recursive POSIX mutex does.
  if (count_ == std::numeric_limits<std::uint32_t>::max()) throw MutexError(EAGAIN);
  ++count_;
  owner_ = self;
  return this;
}

Mutex* Mutex::TryLock() {
  const std::uint32_t self = CurrentThreadIdentifier();
  InternalLock lock(mutex_);
  if (count_ != 0 && owner_ != self) return nullptr;
  if (count_ == std::numeric_limits<std::uint32_t>::max()) throw MutexError(EAGAIN);
  ++count_;
  owner_ = self;
  return this;
}

void Mutex::Unlock(Mutex* token) {
  if (token == nullptr) return;
  InternalLock lock(token->mutex_);
  // Unlocking a free lock is a caller's mistake; wrapping the count would corrupt the lock.
  if (token->count_ == 0) throw MutexError(EPERM);
  if (--token->count_ == 0) Check(pthread_cond_signal(&token->condition_));
}
}  // namespace UnixPlatform
