#include "ui/TimerTick.h"

#include "tests/core/SessionTestSupport.h"
#include "text/time/Clock.h"
#include "text/time/MailDateTime.h"
#include "ui/UICommand.h"
#include "ui/UICommandProcessor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace session_test;
using Calls = std::vector<std::string>;
using Sent = std::vector<std::string>;

constexpr DateTime kNow = 1700000000 * kMicrosecondsPerSecond;
constexpr TimeInterval kSecond = kMicrosecondsPerSecond;

int hiddenWindowsCreated = 0;
void CreateHiddenWindow() { ++hiddenWindowsCreated; }

std::string ForcedRequest(std::uint64_t id, DateTime deadline) {
  return Request(id, "<ForceRun>true</ForceRun><Deadline>" + Str(FormatMailDateTime(deadline, 0)) +
                         "</Deadline>");
}

std::string Taken(std::uint64_t id) {
  return "ActionTaken IsCancel=false IsOffer=false ID=" + std::to_string(id) +
         " Originator=ClientUI";
}

class Tick : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    (void)TakeUICommands();
    takeAllSequence = TakeAllSequence{};
    ResetTimerTick();
    hiddenWindowsCreated = 0;
  }

  // One tick, and the dialog calls it made.
  Calls RunTick() {
    dialogs.calls.clear();
    TimerTick(CreateHiddenWindow);
    return dialogs.calls;
  }

  FixedClock clock{kNow};
};

TEST_F(Tick, BeforeInitializationOnlyDispatchesAndRunsCommands) {
  Receive(Request(1));
  PostUICommand(kOpenActionRequestDialog, 0, 0, 0);
  EXPECT_EQ(RunTick(), (Calls{"Open 0 snooze"}));
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{1}));
  EXPECT_EQ(hiddenWindowsCreated, 0);
}

TEST_F(Tick, FirstInitializedTickCreatesTheHiddenWindowOnceAndOpensOwedDialog) {
  Receive(Request(1));
  RunTick();
  Initialize();
  // The reminder time has not come, yet the request that came early gets its dialog.
  sessionState.nextReminderTime = kNow + 3600 * kSecond;
  EXPECT_EQ(RunTick(), (Calls{"Open 0 snooze", "Expire"}));
  EXPECT_EQ(RunTick(), (Calls{"Expire"}));
  EXPECT_EQ(hiddenWindowsCreated, 1);
}

TEST_F(Tick, DispatchComesBeforeCommands) {
  Initialize();
  sessionState.nextReminderTime = kNow;
  Receive(Request(5));
  PostUICommand(kCancelAction, 5, 0, 0);
  RunTick();
  EXPECT_EQ(TakeSent(), (Sent{"ActionTaken IsCancel=true IsOffer=false ID=5 Originator=ClientUI"}));
}

TEST_F(Tick, ReminderReopensTheDialogOnceTheTimeHasPassed) {
  struct Row {
    DateTime reminder;
    bool pending;
    bool opens;
  };
  const Row rows[] = {
      {kNow - kSecond, true, true},
      {kNow, true, false},
      {kNow + kSecond, true, false},
      {kNow - kSecond, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reminder - kNow);
    SetUp();
    Initialize();
    if (row.pending) AppendPendingRequest(ActionRequest{});
    sessionState.nextReminderTime = row.reminder;
    sessionState.remindInterval = 42;
    sessionState.allowSnooze = false;
    EXPECT_EQ(RunTick(), row.opens ? (Calls{"Open 42", "Expire"}) : (Calls{"Expire"}));
  }
}

TEST_F(Tick, ForcedRequestsAreTakenOnceTheirDeadlineHasPassed) {
  struct Row {
    const char* what;
    std::string request;
    Sent sent;
    bool refresh;
  };
  const Row rows[] = {
      {"passed", ForcedRequest(1, kNow - kSecond), {Taken(1)}, true},
      {"due this second", ForcedRequest(1, kNow), {}, true},
      {"within five minutes", ForcedRequest(1, kNow + 299 * kSecond), {}, true},
      {"five minutes away", ForcedRequest(1, kNow + 300 * kSecond), {}, false},
      {"passed without ForceRun",
       Request(1, "<Deadline>" + Str(FormatMailDateTime(kNow - kSecond, 0)) + "</Deadline>"),
       {},
       false},
      {"ForceRun without deadline", Request(1, "<ForceRun></ForceRun>"), {}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    Initialize();
    sessionState.nextReminderTime = kNow;
    Receive(row.request);
    const Calls calls = RunTick();
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_EQ(sessionState.pendingRequests.empty(), !row.sent.empty());
    EXPECT_EQ(calls.back() == "Refresh", row.refresh);
  }
}

TEST_F(Tick, SeveralPassedDeadlinesAreAllTakenInListOrder) {
  Initialize();
  sessionState.nextReminderTime = kNow;
  Receive(ForcedRequest(1, kNow - kSecond) + ForcedRequest(2, kNow + kSecond) +
          ForcedRequest(1, kNow - 2 * kSecond) + ForcedRequest(3, kNow - kSecond));
  RunTick();
  EXPECT_EQ(TakeSent(), (Sent{Taken(1), Taken(1), Taken(3)}));
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{2}));
}

TEST_F(Tick, QuietModeHoldsForcedRunsButNotReminders) {
  Initialize();
  Receive(ForcedRequest(1, kNow - kSecond) + "<QuietModeStart></QuietModeStart>");
  sessionState.nextReminderTime = kNow - kSecond;
  EXPECT_EQ(RunTick(), (Calls{"Refresh", "Open 0 snooze", "Notice 0 0", "Disable", "Open 0 snooze",
                              "Expire"}));
  clock.Advance(3600 * kSecond);
  RunTick();
  EXPECT_EQ(TakeSent(), Sent{});
  Receive("<QuietModeEnd></QuietModeEnd>");
  RunTick();
  EXPECT_EQ(TakeSent(), (Sent{Taken(1)}));
}

}  // namespace
