#include "foundation/platform/Mutex.h"

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/platform/PlatformErrors.h"
#include "foundation/platform/SharedRefCount.h"
#include "foundation/platform/Thread.h"

namespace {
using UnixPlatform::Mutex;

class MutexTest : public testing::Test {
 protected:
  void SetUp() override { mutex_.Init(); }
  void TearDown() override { mutex_.Destroy(); }

  // Whether another thread could take the lock right now (it gives it back at once).
  bool FreeForOthers() {
    bool taken = false;
    std::thread other([&] {
      Mutex* token = mutex_.TryLock();
      taken = token != nullptr;
      Mutex::Unlock(token);
    });
    other.join();
    return taken;
  }

  Mutex mutex_;
};

TEST_F(MutexTest, LockTakenThreeTimesIsFreeOnlyAfterTheThirdUnlock) {
  Mutex* tokens[] = {mutex_.Lock(), mutex_.TryLock(), mutex_.Lock()};
  for (Mutex* token : tokens) ASSERT_EQ(token, &mutex_);
  for (int unlocked = 0; unlocked < 3; ++unlocked) {
    SCOPED_TRACE(unlocked);
    EXPECT_FALSE(FreeForOthers());
    Mutex::Unlock(tokens[unlocked]);
  }
  EXPECT_TRUE(FreeForOthers());
}

TEST_F(MutexTest, ThreadBlockedInLockProceedsOnceTheOwnerReleases) {
  std::atomic<bool> acquired{false};
  Mutex::Unlock(mutex_.Lock());
  Mutex* token = mutex_.Lock();
  std::thread waiter([&] {
    Mutex::Guard guard(mutex_);
    acquired = true;
  });
  SleepMilliseconds(100);
  EXPECT_FALSE(acquired.load());
  Mutex::Unlock(token);
  waiter.join();
  EXPECT_TRUE(acquired.load());
}

TEST_F(MutexTest, GuardOverAFailedTryLockGuardsNothing) {
  Mutex* token = mutex_.Lock();
  std::thread other([&] {
    Mutex::Guard guard(mutex_.TryLock());
    EXPECT_FALSE(guard);
  });
  other.join();
  Mutex::Unlock(token);
  Mutex::Unlock(nullptr);
  EXPECT_TRUE(FreeForOthers());
}

TEST_F(MutexTest, UnlockingAFreeLockThrowsAndLeavesItUsable) {
  try {
    Mutex::Unlock(&mutex_);
    FAIL() << "no exception";
  } catch (const UnixPlatform::MutexError& error) {
    EXPECT_EQ(error.code(), static_cast<std::uint32_t>(EPERM));
  }
  Mutex::Unlock(mutex_.Lock());
  EXPECT_TRUE(FreeForOthers());
}

TEST(SharedRefCount, IsUniqueOnlyWhileOneReferenceRemainsAndConcurrentHoldersStayBalanced) {
  UnixPlatform::SharedRefCount* count = UnixPlatform::SharedRefCount::Create();
  EXPECT_TRUE(count->IsUnique());
  count->AddRef();
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([count] {
      for (int round = 0; round < 5000; ++round) {
        count->AddRef();
        count->Release();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(count->IsUnique());
  count->Release();
  EXPECT_TRUE(count->IsUnique());
  count->Release();  // frees the block; the sanitizer build reports a leak otherwise
}
}  // namespace
