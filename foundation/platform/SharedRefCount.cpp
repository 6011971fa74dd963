#include "foundation/platform/SharedRefCount.h"

namespace UnixPlatform {
SharedRefCount* SharedRefCount::Create() {
  SharedRefCount* block = new SharedRefCount;
  try {
    block->mutex_.Init();
  } catch (...) {
    delete block;
    throw;
  }
  return block;
}

void SharedRefCount::AddRef() {
  Mutex::Guard guard(mutex_);
  ++count_;
}

void SharedRefCount::Release() {
  std::uint64_t remaining;
  {
    Mutex::Guard guard(mutex_);
    remaining = --count_;
  }
  // Only the holder of the last reference gets here, so nobody can be inside the lock.
  if (remaining == 0) {
    mutex_.Destroy();
    delete this;
  }
}

bool SharedRefCount::IsUnique() {
  Mutex::Guard guard(mutex_);
  return count_ == 1;
}
}  // namespace UnixPlatform
