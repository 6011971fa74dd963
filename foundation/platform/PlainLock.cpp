#include "foundation/platform/PlainLock.h"

// The results are deliberately not checked: a recursive mutex with default storage cannot fail
// to initialise on the systems we run on, and the lock has nobody to report to.
PlainLock::PlainLock() noexcept {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&mutex_, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

PlainLock::~PlainLock() { pthread_mutex_destroy(&mutex_); }

void PlainLock::Lock() noexcept { pthread_mutex_lock(&mutex_); }

void PlainLock::Unlock() noexcept { pthread_mutex_unlock(&mutex_); }
