#include "core/Dispatcher.h"

#include "tests/core/SessionTestSupport.h"
#include "text/time/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace session_test;
using Calls = std::vector<std::string>;

constexpr TimeInterval kMinute = 60 * kMicrosecondsPerSecond;

std::string BaseDirectory() { return ::testing::TempDir() + "qvx-dispatcher-base"; }

std::string Initialization(
    const std::string& settings = "<InitialUISettings></InitialUISettings>") {
  return "<InitializationInfo><BaseDirectory>" + BaseDirectory() + "</BaseDirectory>" + settings +
         "</InitializationInfo>";
}

using Dispatcher = SessionTest;

TEST_F(Dispatcher, RequestThenRemovalInOneDocumentRefreshesTwice) {
  Initialize();
  Receive(Request(7) + "<RemoveRequest><ID>7</ID><RemoveType>Action</RemoveType></RemoveRequest>");
  ProcessClientMessages();
  EXPECT_TRUE(sessionState.pendingRequests.empty());
  EXPECT_EQ(dialogs.calls, (Calls{"Refresh", "Open 0 snooze", "Refresh"}));
}

TEST_F(Dispatcher, DuplicateIdsAreKeptAndRemovalTakesTheFirst) {
  Initialize();
  Receive(Request(5, "<Title>first</Title>") + Request(5, "<Title>second</Title>") + Request(6));
  Receive("<RemoveRequest><ID>5</ID><RemoveType>Action</RemoveType></RemoveRequest>");
  ProcessClientMessages();
  ASSERT_EQ(PendingIds(), (std::vector<std::uint64_t>{5, 6}));
  EXPECT_EQ(Str(sessionState.pendingRequests.front().title), "second");
}

TEST_F(Dispatcher, RemoveTypeDecidesWhatIsWithdrawn) {
  struct Row {
    const char* removeType;
    bool requestRemoved;
    Calls calls;
  };
  const Row rows[] = {
      {"<RemoveType>Action</RemoveType>", true, {"Refresh"}},
      {"<RemoveType>Offer</RemoveType>", false, {}},
      {"<RemoveType>Message</RemoveType>", false, {"RemoveMessage 3"}},
      {"<RemoveType>All</RemoveType>", true, {"Refresh", "RemoveMessage 3"}},
      {"", true, {"Refresh", "RemoveMessage 3"}},
      {"<RemoveType>action</RemoveType>", true, {"Refresh", "RemoveMessage 3"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.removeType);
    SetUp();
    Initialize();
    Receive(Request(3));
    ProcessClientMessages();
    dialogs.calls.clear();
    Receive(std::string("<RemoveRequest><ID>3</ID>") + row.removeType + "</RemoveRequest>");
    ProcessClientMessages();
    EXPECT_EQ(sessionState.pendingRequests.empty(), row.requestRemoved);
    EXPECT_EQ(dialogs.calls, row.calls);
  }
}

TEST_F(Dispatcher, FailingTextDropsTheRestOfItsBatchButKeepsWhatWasApplied) {
  Initialize();
  Receive(Request(1));
  Receive(Request(2) + Request(3, "<Deadline>not a date</Deadline>") + Request(4));
  Receive("<ClientToUI><Unclosed");
  Receive(Request(5));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{1, 2}));
  // The next call starts from what arrives after the lost batch.
  Receive(Request(6));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{1, 2, 6}));
}

TEST_F(Dispatcher, IllFormedDocumentInTheMiddleLosesTheThird) {
  Initialize();
  Receive(Request(1));
  incomingQueue.Push(UString8("not xml at all"));
  Receive(Request(3));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{1}));
}

TEST_F(Dispatcher, InitializationEndsTheCallAndStashesTheRestOfTheBatch) {
  Receive(Initialization() + Request(1));
  Receive(Request(2));
  ProcessClientMessages();
  EXPECT_TRUE(sessionState.initialized);
  // The request in the same document is never applied; the next text waits for the next call.
  EXPECT_TRUE(sessionState.pendingRequests.empty());
  EXPECT_TRUE(dialogs.calls.empty());
  Receive(Request(3));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{2}));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{2, 3}));
}

TEST_F(Dispatcher, RequestBeforeInitializationWaitsForTheDialogs) {
  Receive(Request(9));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{9}));
  EXPECT_TRUE(sessionState.actionRequestDialogOwed);
  EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(Dispatcher, SecondInitializationIsIgnoredEntirely) {
  Receive(
      Initialization("<InitialUISettings><AllowSnooze>false</AllowSnooze></InitialUISettings>"));
  ProcessClientMessages();
  Receive(Initialization("<InitialUISettings><AllowSnooze>true</AllowSnooze><RemindInterval>PT5M"
                         "</RemindInterval></InitialUISettings>") +
          Request(4));
  ProcessClientMessages();
  EXPECT_FALSE(sessionState.allowSnooze);
  EXPECT_EQ(sessionState.remindInterval, 0);
  // What follows an ignored one is applied as usual.
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{4}));
}

TEST_F(Dispatcher, MalformedSettingLeavesTheSessionUninitialized) {
  Receive(Initialization("<InitialUISettings><TrayMode>two</TrayMode></InitialUISettings>"));
  ProcessClientMessages();
  EXPECT_FALSE(sessionState.initialized);
  Receive(Initialization());
  ProcessClientMessages();
  EXPECT_TRUE(sessionState.initialized);
}

TEST_F(Dispatcher, SettingsDefaultsAndCopies) {
  struct Row {
    const char* settings;
    TimeInterval remindInterval;
    DateTime nextReminderTime;
    bool allowSnooze, persist, topmost;
  };
  const Row rows[] = {
      {"", 0, 0, true, false, false},
      {"<InitialUISettings></InitialUISettings>", 0, 0, true, false, false},
      {"<InitialUISettings><RemindInterval>PT30M</RemindInterval>"
       "<RemindTime>Thu, 01 Jan 1970 01:02:00 +0100</RemindTime><AllowSnooze>0</AllowSnooze>"
       "<PersistRunningMessage></PersistRunningMessage>"
       "<TopmostRunningMessage>yes</TopmostRunningMessage></InitialUISettings>",
       30 * kMinute, 2 * kMinute, false, true, true},
      {"<InitialUISettings><RemindTime>Thu, 01 Jan 1970 00:01:00 +0000</RemindTime>"
       "</InitialUISettings>",
       0, kMinute, true, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.settings);
    SetUp();
    Receive(Initialization(row.settings));
    ProcessClientMessages();
    ASSERT_TRUE(sessionState.initialized);
    EXPECT_EQ(sessionState.remindInterval, row.remindInterval);
    EXPECT_EQ(sessionState.nextReminderTime, row.nextReminderTime);
    EXPECT_EQ(sessionState.allowSnooze, row.allowSnooze);
    EXPECT_EQ(sessionState.persistRunningMessage, row.persist);
    EXPECT_EQ(sessionState.topmostRunningMessage, row.topmost);
    EXPECT_EQ(Str(sessionState.baseDirectory), BaseDirectory());
  }
}

TEST_F(Dispatcher, QuietModeDisablesAnOpenDialogAndShowsTheNotice) {
  Initialize();
  const std::string start =
      "<QuietModeStart><StartTime>Thu, 01 Jan 1970 00:00:10 +0000</StartTime>"
      "<EndTime>Thu, 01 Jan 1970 00:00:20 +0000</EndTime></QuietModeStart>";
  Receive(start);
  ProcessClientMessages();
  EXPECT_TRUE(sessionState.quietMode);
  EXPECT_TRUE(dialogs.calls.empty());
  // A request still opens the dialog during quiet mode.
  Receive(Request(1) + start);
  ProcessClientMessages();
  EXPECT_EQ(dialogs.calls,
            (Calls{"Refresh", "Open 0 snooze", "Notice 10000000 20000000", "Disable"}));
  dialogs.calls.clear();
  Receive("<QuietModeEnd></QuietModeEnd>");
  ProcessClientMessages();
  EXPECT_FALSE(sessionState.quietMode);
  EXPECT_EQ(dialogs.calls, (Calls{"CloseNotice", "Refresh", "Enable"}));
}

TEST_F(Dispatcher, QuietModeEndWithTheDialogClosedOnlyClearsTheFlag) {
  Initialize();
  sessionState.quietMode = true;
  Receive("<QuietModeEnd></QuietModeEnd>");
  ProcessClientMessages();
  EXPECT_FALSE(sessionState.quietMode);
  EXPECT_EQ(dialogs.calls, (Calls{"CloseNotice"}));
}

TEST_F(Dispatcher, RunningMessagesFollowTheSettingsCompletionMessagesNever) {
  struct Row {
    bool persist, topmost;
    const char* completion;
    const char* call;
  };
  const Row rows[] = {
      {false, false, "false", "Message 4 T"},    {true, false, "false", "Message 4 T hide"},
      {false, true, "0", "Message 4 T topmost"}, {true, true, "0", "Message 4 T hide topmost"},
      {true, true, "true", "Message 4 T"},       {true, true, "", "Message 4 T"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.call);
    SetUp();
    sessionState.persistRunningMessage = row.persist;
    sessionState.topmostRunningMessage = row.topmost;
    Receive(std::string("<MessageRequest><ID>4</ID><Title>T</Title><IsCompletionMessage>") +
            row.completion + "</IsCompletionMessage></MessageRequest>");
    ProcessClientMessages();
    EXPECT_EQ(dialogs.calls, (Calls{row.call}));
  }
}

TEST_F(Dispatcher, ActionRunningTopmostSetsOrKeepsTheSetting) {
  struct Row {
    bool before;
    const char* message;
    bool after;
  };
  const Row rows[] = {
      {false, "<Enabled>true</Enabled>", true},
      {true, "<Enabled>false</Enabled>", false},
      {true, "", true},
      {false, "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    SetUp();
    sessionState.topmostRunningMessage = row.before;
    Receive(std::string("<ActionRunningTopmost>") + row.message + "</ActionRunningTopmost>");
    ProcessClientMessages();
    EXPECT_EQ(sessionState.topmostRunningMessage, row.after);
  }
}

TEST_F(Dispatcher, AnyRootNameAndUnknownMessagesAreAccepted) {
  Initialize();
  incomingQueue.Push(UString8(
      "<?xml version=\"1.0\"?><Other><Unknown><ID>x</ID></Unknown><ActionRequest><ID>8</ID>"
      "</ActionRequest></Other>"));
  ProcessClientMessages();
  EXPECT_EQ(PendingIds(), (std::vector<std::uint64_t>{8}));
}

}  // namespace
