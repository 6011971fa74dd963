#include "core/ExitApplication.h"

#include "foundation/platform/Thread.h"

#include <unistd.h>
#include <atomic>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr std::uint32_t kExitPauseMilliseconds = 2000;

std::atomic<ApplicationContextDestroyer> contextDestroyer{nullptr};

}  // namespace

void SetApplicationContextDestroyer(ApplicationContextDestroyer destroyer) noexcept {
  contextDestroyer.store(destroyer);
}

void ExitApplication(int status, const char* reason) {
  (void)reason;
  if (ApplicationContextDestroyer destroy = contextDestroyer.exchange(nullptr)) destroy();
  SleepMilliseconds(kExitPauseMilliseconds);
  std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
  // _exit skips the leak check that exit would have run; keep it for instrumented builds.
  __lsan_do_leak_check();
#endif
  // _exit, not exit: the link's threads are still running, and static destructors must not pull
  // anything from under them.
  ::_exit(status);
}
