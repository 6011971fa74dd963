#include "ui/TimerTick.h"

#include "tests/core/SessionTestSupport.h"
#include "text/time/Clock.h"
#include "text/time/MailDateTime.h"
#include "ui/UICommand.h"

#include <gtest/gtest.h>

namespace {

using namespace session_test;

constexpr DateTime kNow = 1700000000 * kMicrosecondsPerSecond;
constexpr TimeInterval kSecond = kMicrosecondsPerSecond;

int hiddenWindows = 0;
void CreateHiddenWindow() { ++hiddenWindows; }

std::string Forced(std::uint64_t id, TimeInterval fromNow, const char* forceRun = "1") {
  return Request(id, std::string("<ForceRun>") + forceRun + "</ForceRun><Deadline>" +
                         Str(FormatMailDateTime(kNow + fromNow, 0)) + "</Deadline>");
}

class Tick : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    (void)TakeUICommands();
    ResetTimerTick();
    hiddenWindows = 0;
    sessionState.initialized = true;
    sessionState.nextReminderTime = kNow;
  }
  Lines RunTick() {
    dialogs.calls.clear();
    TimerTick(CreateHiddenWindow);
    return dialogs.calls;
  }
  FixedClock clock{kNow};
};

TEST_F(Tick, ForcedRequestsAreTakenOnceTheirDeadlineHasPassed) {
  struct Row {
    const char* what;
    std::string requests;
    Lines sent;
    Ids left;
    bool refresh;
  };
  // clang-format off
  const Row rows[] = {
      {"passed", Forced(1, -kSecond), {Taken(1)}, {}, true},
      {"due this second", Forced(1, 0), {}, {1}, true},
      {"within five minutes", Forced(1, 299 * kSecond), {}, {1}, true},
      {"five minutes away", Forced(1, 300 * kSecond), {}, {1}, false},
      {"passed without ForceRun", Forced(1, -kSecond, "0"), {}, {1}, false},
      {"ForceRun without deadline", Request(1, "<ForceRun></ForceRun>"), {}, {1}, false},
      {"several, in list order", Forced(1, -kSecond) + Forced(2, kSecond) +
       Forced(1, -2 * kSecond) + Forced(3, -kSecond), {Taken(1), Taken(1), Taken(3)}, {2}, true},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    Receive(row.requests);
    EXPECT_EQ(RunTick().back() == "Refresh", row.refresh);
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_EQ(PendingIds(), row.left);
  }
}

TEST_F(Tick, RemindersAndTheOrderOfTheSteps) {
  // Not initialised: dispatch and commands only, no hidden window, no dialog for the request.
  sessionState.initialized = false;
  Receive(Request(5));
  PostUICommand(kCancelAction, 5, 1, 0, 0);
  EXPECT_EQ(RunTick(), (Lines{"Refresh", "Enable"}));
  EXPECT_EQ(TakeSent(), Lines{Taken(5, true)});
  Receive(Request(6));
  RunTick();
  EXPECT_EQ(hiddenWindows, 0);
  // The first initialised tick opens the dialog owed to the early request although the
  // reminder time has not come; later ones wait for the clock to pass that time.
  sessionState.initialized = true;
  sessionState.nextReminderTime = kNow + kSecond;
  EXPECT_EQ(RunTick(), (Lines{"Open 0 snooze", "Expire"}));
  EXPECT_EQ(RunTick(), Lines{"Expire"});
  clock.Advance(kSecond);
  EXPECT_EQ(RunTick(), Lines{"Expire"});
  clock.Advance(kSecond);
  EXPECT_EQ(RunTick(), (Lines{"Open 0 snooze", "Expire"}));
  EXPECT_EQ(hiddenWindows, 1);
  sessionState.pendingRequests.clear();
  EXPECT_EQ(RunTick(), Lines{"Expire"});
}

TEST_F(Tick, QuietModeHoldsForcedRunsButNotReminders) {
  Receive(Forced(1, -kSecond) + "<QuietModeStart></QuietModeStart>");
  sessionState.nextReminderTime = kNow - kSecond;
  EXPECT_EQ(RunTick(), (Lines{"Open 0 snooze", "Notice 0 0", "Refresh", "Disable", "Open 0 snooze",
                              "Expire"}));
  clock.Advance(3600 * kSecond);
  RunTick();
  EXPECT_EQ(TakeSent(), Lines{});
  Receive("<QuietModeEnd></QuietModeEnd>");
  RunTick();
  EXPECT_EQ(TakeSent(), Lines{Taken(1)});
}

}  // namespace
