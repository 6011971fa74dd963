// A thread-safe reference count on the heap, shared by the holders of one copy-on-write text
// buffer. It starts at 1 and frees itself when the last holder releases it.
#pragma once

#include <cstdint>

#include "foundation/platform/Mutex.h"

namespace UnixPlatform {
class SharedRefCount {
 public:
  // Throws MutexError if the lock cannot be made, std::bad_alloc without memory.
  [[nodiscard]] static SharedRefCount* Create();

  SharedRefCount(const SharedRefCount&) = delete;
  SharedRefCount& operator=(const SharedRefCount&) = delete;

  void AddRef();
  // The last release frees the block; the caller must not touch it afterwards.
  void Release();
  // Whether the caller's reference is the only one, so the buffer may be changed in place.
  [[nodiscard]] bool IsUnique();

 private:
  SharedRefCount() = default;
  ~SharedRefCount() = default;

  std::uint64_t count_ = 1;
  Mutex mutex_;
};
}  // namespace UnixPlatform
