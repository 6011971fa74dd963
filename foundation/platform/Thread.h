// The thread layer: detached POSIX threads started with a handle that the creator releases when
// done with it. Start failures print one line to standard error and
// report false; nothing here throws.
#pragma once

#include <cstdint>

namespace UnixPlatform {
struct Thread;
using ThreadFunction = void (*)(void* argument);
}  // namespace UnixPlatform

// Worker threads get at least this stack size (bytes); set once at start-up.
void SetMinimumThreadStackSize(std::uint32_t bytes);

// Handle-owned record, not yet started; null for a null function.
[[nodiscard]] UnixPlatform::Thread* CreateThread(UnixPlatform::ThreadFunction function,
                                                 void* argument);
// Starts a record once; a second call reports success and starts nothing.
[[nodiscard]] bool Start(UnixPlatform::Thread* thread);
// Frees a record whose start failed (the thread never ran). A record whose thread is running
// is released instead, so a mistaken call cannot pull the record from under its thread.
void DeleteThread(UnixPlatform::Thread* thread);
// The creator gives up its handle; the record must not be touched afterwards. A record that
// never got a thread is freed at once.
void ReleaseHandle(UnixPlatform::Thread* thread);

// Whole seconds with sleep, the remaining milliseconds with select on no descriptors.
void SleepMilliseconds(std::uint32_t milliseconds);
