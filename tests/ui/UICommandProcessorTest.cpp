#include "ui/UICommandProcessor.h"

#include "core/Dispatcher.h"
#include "tests/core/SessionTestSupport.h"
#include "text/time/Clock.h"
#include "text/time/MailDateTime.h"
#include "text/time/XMLDuration.h"
#include "ui/UICommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace session_test;
using Calls = std::vector<std::string>;
using Sent = std::vector<std::string>;

constexpr DateTime kNow = 1700000000 * kMicrosecondsPerSecond;
const std::string kConfirm = "<PreActionMessage>Save first.</PreActionMessage>";

std::string Taken(std::uint64_t id, bool cancel = false) {
  return std::string("ActionTaken IsCancel=") + (cancel ? "true" : "false") +
         " IsOffer=false ID=" + std::to_string(id) + " Originator=ClientUI";
}

class UICommands : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    (void)TakeUICommands();
    takeAllSequence = TakeAllSequence{};
    Initialize();
  }

  // Applies the client's requests as the dispatcher does, then forgets its dialog calls.
  void Pending(const std::string& requests) {
    Receive(requests);
    ProcessClientMessages();
    dialogs.calls.clear();
  }

  void Run(std::uint32_t kind, std::uint64_t id = 0) {
    PostUICommand(kind, id, 0, 0);
    ProcessUICommands();
  }

  FixedClock clock{kNow};
};

TEST_F(UICommands, SimpleKindsCallTheirDialog) {
  struct Row {
    std::uint32_t kind;
    Calls calls;
  };
  const Row rows[] = {
      {kShowActionDetails, {"Details 12"}},
      {kActionDetailsClosed, {"Enable"}},
      {kQuietModeNoticeClosed, {"Enable"}},
      {kConfirmationRefused, {"Enable"}},
      {kOpenActionRequestDialog, {"Open 600000000"}},
      {10, {}},
      {4294967295u, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kind);
    dialogs.calls.clear();
    sessionState.remindInterval = 600000000;
    sessionState.allowSnooze = false;
    Run(row.kind, 12);
    EXPECT_EQ(dialogs.calls, row.calls);
    EXPECT_EQ(TakeSent(), Sent{});
  }
}

TEST_F(UICommands, CancelAndTakeOfOneRequest) {
  struct Row {
    const char* what;
    std::uint32_t kind;
    std::string requests;
    std::uint64_t id;
    Sent sent;
    Calls calls;
    std::vector<std::uint64_t> left;
  };
  const Row rows[] = {
      {"cancel",
       kCancelAction,
       Request(1) + Request(2),
       2,
       {Taken(2, true)},
       {"Refresh", "Enable"},
       {1}},
      {"cancel of a duplicate ID takes the first",
       kCancelAction,
       Request(2, "<Title>a</Title>") + Request(2),
       2,
       {Taken(2, true)},
       {"Refresh", "Enable"},
       {2}},
      {"cancel of an ID no longer pending", kCancelAction, Request(1), 2, {}, {"Enable"}, {1}},
      {"take", kTakeAction, Request(1) + Request(2), 1, {Taken(1)}, {"Refresh", "Enable"}, {2}},
      {"take that needs a confirmation",
       kTakeAction,
       Request(1, kConfirm),
       1,
       {},
       {"Confirm 1"},
       {1}},
      {"take of an ID no longer pending", kTakeAction, Request(1), 5, {}, {"Enable"}, {1}},
      {"accepted confirmation",
       kConfirmationAccepted,
       Request(3, kConfirm) + Request(4),
       3,
       {Taken(3)},
       {"Refresh", "Enable"},
       {4}},
      {"accepted confirmation of a request gone meanwhile",
       kConfirmationAccepted,
       Request(4),
       3,
       {},
       {"Enable"},
       {4}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    Pending(row.requests);
    Run(row.kind, row.id);
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_EQ(dialogs.calls, row.calls);
    EXPECT_EQ(PendingIds(), row.left);
    if (row.what == std::string("cancel of a duplicate ID takes the first")) {
      EXPECT_TRUE(sessionState.pendingRequests.front().title.empty());
    }
  }
}

TEST_F(UICommands, TakeAllWithoutConfirmationsSendsEveryRequestInOrder) {
  Pending(Request(3) + Request(1) + Request(3));
  Run(kTakeAllActions);
  EXPECT_EQ(TakeSent(), (Sent{Taken(3), Taken(1), Taken(3)}));
  EXPECT_TRUE(sessionState.pendingRequests.empty());
  EXPECT_EQ(dialogs.calls, (Calls{"Refresh", "Enable"}));
}

TEST_F(UICommands, TakeAllAsksOnceAndSendsAllWhenAccepted) {
  Pending(Request(1) + Request(2, kConfirm) + Request(3));
  Run(kTakeAllActions);
  EXPECT_EQ(dialogs.calls, (Calls{"Confirm 2"}));
  EXPECT_EQ(TakeSent(), Sent{});
  Run(kConfirmationAccepted, 2);
  EXPECT_EQ(TakeSent(), (Sent{Taken(1), Taken(2), Taken(3)}));
  EXPECT_TRUE(sessionState.pendingRequests.empty());
  EXPECT_FALSE(takeAllSequence.inProgress);
}

TEST_F(UICommands, RefusedConfirmationEndsTakeAllWithNothingSent) {
  Pending(Request(1) + Request(2, kConfirm) + Request(3, kConfirm));
  Run(kTakeAllActions);
  Run(kConfirmationAccepted, 2);
  EXPECT_EQ(dialogs.calls, (Calls{"Confirm 2", "Confirm 3"}));
  Run(kConfirmationRefused, 3);
  EXPECT_EQ(TakeSent(), Sent{});
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{1, 2, 3}));
  EXPECT_FALSE(takeAllSequence.inProgress);
  // A later accepted confirmation is a single take, not the end of the old sequence.
  Run(kConfirmationAccepted, 3);
  EXPECT_EQ(TakeSent(), (Sent{Taken(3)}));
}

TEST_F(UICommands, TakeAllConfirmsEachOfDuplicateIdsOnce) {
  Pending(Request(1) + Request(2, kConfirm) + Request(2, kConfirm) + Request(3));
  Run(kTakeAllActions);
  Run(kConfirmationAccepted, 2);
  Run(kConfirmationAccepted, 2);
  EXPECT_EQ(dialogs.calls, (Calls{"Confirm 2", "Confirm 2", "Refresh", "Enable"}));
  EXPECT_EQ(TakeSent(), (Sent{Taken(1), Taken(2), Taken(2), Taken(3)}));
}

TEST_F(UICommands, TakeAllFollowsTheListAsItChangesDuringAConfirmation) {
  struct Row {
    const char* what;
    std::string changes;
    Calls confirmations;
    Sent sent;
  };
  const Row rows[] = {
      {"confirmed request removed",
       "<RemoveRequest><ID>2</ID><RemoveType>Action</RemoveType></RemoveRequest>",
       {"Confirm 4"},
       {Taken(1), Taken(4), Taken(5)}},
      {"next request to confirm removed",
       "<RemoveRequest><ID>4</ID><RemoveType>Action</RemoveType></RemoveRequest>",
       {},
       {Taken(1), Taken(2), Taken(5)}},
      {"request before the cursor removed",
       "<RemoveRequest><ID>1</ID><RemoveType>Action</RemoveType></RemoveRequest>",
       {"Confirm 4"},
       {Taken(2), Taken(4), Taken(5)}},
      {"new request that needs a confirmation",
       Request(6, kConfirm),
       {"Confirm 4", "Confirm 6"},
       {Taken(1), Taken(2), Taken(4), Taken(5), Taken(6)}},
      {"new request with the ID just confirmed",
       Request(2, kConfirm),
       {"Confirm 4", "Confirm 2"},
       {Taken(1), Taken(2), Taken(4), Taken(5), Taken(2)}},
      {"everything removed",
       "<RemoveRequest><ID>1</ID></RemoveRequest>"
       "<RemoveRequest><ID>2</ID></RemoveRequest><RemoveRequest><ID>4</ID></RemoveRequest>"
       "<RemoveRequest><ID>5</ID></RemoveRequest>",
       {},
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    Pending(Request(1) + Request(2, kConfirm) + Request(4, kConfirm) + Request(5));
    Run(kTakeAllActions);
    ASSERT_EQ(dialogs.calls, (Calls{"Confirm 2"}));
    Pending(row.changes);
    Run(kConfirmationAccepted, 2);
    Calls confirmations;
    while (!dialogs.calls.empty() && dialogs.calls.front().rfind("Confirm ", 0) == 0) {
      confirmations.push_back(dialogs.calls.front());
      dialogs.calls.erase(dialogs.calls.begin());
      Run(kConfirmationAccepted, std::stoull(confirmations.back().substr(8)));
    }
    EXPECT_EQ(confirmations, row.confirmations);
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_TRUE(sessionState.pendingRequests.empty());
    EXPECT_EQ(dialogs.calls, (Calls{"Refresh", "Enable"}));
  }
}

TEST_F(UICommands, SnoozeChoicesAfterAndBeforeTheDeadline) {
  struct Row {
    std::int32_t minutes;
    std::uint32_t deadlineSeconds;
    DateTime reminder;
    TimeInterval interval;
  };
  const Row rows[] = {
      {5, 0, kNow + 300 * kMicrosecondsPerSecond, 300 * kMicrosecondsPerSecond},
      {1440, 99, kNow + 86400 * kMicrosecondsPerSecond, 86400 * kMicrosecondsPerSecond},
      {-15, 1700003600, (1700003600 - 900) * kMicrosecondsPerSecond, -900 * kMicrosecondsPerSecond},
      {-5, 1700000100, (1700000100 - 300) * kMicrosecondsPerSecond, -300 * kMicrosecondsPerSecond},
      // Cut to 32 bits by the dialog, read back as an unsigned count.
      {-5, 4294967295u, (4294967295ll - 300) * kMicrosecondsPerSecond,
       -300 * kMicrosecondsPerSecond},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.minutes);
    SetUp();
    Pending(Request(1));
    PostUICommand(kSnooze, 0, row.minutes, row.deadlineSeconds);
    ProcessUICommands();
    EXPECT_EQ(sessionState.nextReminderTime, row.reminder);
    EXPECT_EQ(sessionState.remindInterval, row.interval);
    EXPECT_EQ(TakeSent(),
              (Sent{"RemindTime TimeObject=" + Str(FormatMailDateTime(row.reminder, 0)),
                    "RemindInterval TimeInterval=" + Str(FormatXMLDuration(row.interval))}));
    EXPECT_TRUE(dialogs.calls.empty());
  }
}

TEST_F(UICommands, SnoozeWithNothingPendingIsIgnored) {
  PostUICommand(kSnooze, 0, 5, 0);
  ProcessUICommands();
  EXPECT_EQ(sessionState.nextReminderTime, 0);
  EXPECT_EQ(TakeSent(), Sent{});
}

TEST_F(UICommands, FailingCommandDoesNotStopTheOthers) {
  Pending(Request(1));
  PostUICommand(kShowActionDetails, RecordingDialogs::kFailingId, 0, 0);
  PostUICommand(kTakeAction, 1, 0, 0);
  ProcessUICommands();
  EXPECT_EQ(TakeSent(), (Sent{Taken(1)}));
  // Every command is taken off the queue, the failed one too.
  ProcessUICommands();
  EXPECT_EQ(TakeSent(), Sent{});
}

}  // namespace
