#include "core/Dispatcher.h"

#include "tests/core/SessionTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace session_test;

const std::string kBase =
    "<InitializationInfo><BaseDirectory>" + ::testing::TempDir() + "qvx-dispatcher</BaseDirectory>";
const std::string kInit =
    kBase +
    "<InitialUISettings><AllowSnooze>0</AllowSnooze>"
    "<RemindInterval>PT1S</RemindInterval><RemindTime>Thu, 01 Jan 1970 01:02:00 +0100</RemindTime>"
    "<PersistRunningMessage></PersistRunningMessage></InitialUISettings></InitializationInfo>";
const std::string kLaterInit =
    "<InitializationInfo><InitialUISettings><AllowSnooze>1</AllowSnooze></InitialUISettings>"
    "</InitializationInfo>";
const std::string kBadInit =
    kBase + "<InitialUISettings><TrayMode>2a</TrayMode></InitialUISettings></InitializationInfo>";
const std::string kQuietStart =
    "<QuietModeStart><StartTime>Thu, 01 Jan 1970 00:00:10 +0000</StartTime></QuietModeStart>";
const std::string kTopmost = "<ActionRunningTopmost><Enabled>1</Enabled></ActionRunningTopmost>";

std::string Remove(const char* type) {
  return std::string("<RemoveRequest><ID>3</ID>") + type + "</RemoveRequest>";
}
std::string Message(const char* completion) {
  return std::string("<MessageRequest><ID>4</ID><IsCompletionMessage>") + completion +
         "</IsCompletionMessage></MessageRequest>";
}

using Dispatcher = SessionTest;

// Each row starts from a fresh session, initialised unless the row says not, queues its texts
// (wrapped in a root unless they start with a declaration or are no markup) and dispatches the
// given number of times.
TEST_F(Dispatcher, MessagesBecomeSessionStateAndEvents) {
  struct Row {
    const char* what;
    Lines texts;
    Ids pending;
    Lines events;
    int dispatches = 1;
    bool initialized = true;
  };
  // clang-format off
  const Row rows[] = {
      {"request then its removal", {Request(3) + Remove("<RemoveType>Action</RemoveType>")}, {},
       {"Due", "Changed"}},
      {"removal takes the first of two same IDs", {Request(3) + Request(4) + Request(3),
       Remove("<RemoveType>Action</RemoveType>")}, {4, 3},
       {"Due", "Due", "Due", "Changed"}},
      {"Offer removes nothing", {Request(3), Remove("<RemoveType>Offer</RemoveType>")}, {3},
       {"Due", "Changed"}},
      {"Message removes the window", {Request(3), Remove("<RemoveType>Message</RemoveType>")},
       {3}, {"Due", "RemoveMessage 3", "Changed"}},
      {"no RemoveType is All", {Request(3), Remove("")}, {},
       {"Due", "RemoveMessage 3", "Changed"}},
      {"a failing text loses the rest of its batch", {Request(1), Request(2) +
       Request(3, "<ID>+3</ID>") + Request(4), "not a document", Request(5)}, {1, 2},
       {"Due", "Due", "Changed"}},
      {"a request whose texts the locale cannot hold is dropped", {Request(1), Request(2,
       "<Title>Don\u2019t</Title>"), Request(3)}, {1}, {"Due", "Changed"}},
      {"a preview the locale cannot hold is dropped too", {Request(1, "<Preview>\u00e9</Preview>")},
       {}, {}},
      {"any root name, unknown messages ignored", {"<?xml version=\"1.0\"?><Other><Unknown><ID>x"
       "</ID></Unknown>" + Request(8) + "</Other>"}, {8}, {"Due", "Changed"}},
      {"requests before initialisation wait", {Request(9)}, {9}, {}, 1, false},
      {"initialisation stashes what follows it", {kInit + Request(1), Request(2)}, {}, {}, 1, false},
      {"stashed texts come next", {kInit + Request(1), Request(2)}, {2}, {"Due", "Changed"}, 2,
       false},
      {"a later InitializationInfo is ignored", {kInit, kLaterInit + Request(5)}, {5},
       {"Due", "Changed"}, 2, false},
      {"a bad setting fails InitializationInfo", {kBadInit, Request(5)}, {}, {}, 2, false},
      {"quiet mode, then a request", {kQuietStart, Request(1)}, {1},
       {"Quiet 10000000 0", "Due", "Changed"}},
      // The list is told before quiet mode, which leaves it as it stands.
      {"quiet mode after a request", {Request(1) + kQuietStart + "<QuietModeEnd></QuietModeEnd>"},
       {1}, {"Due", "Changed", "Quiet 10000000 0", "QuietEnd"}},
      {"quiet mode ends", {"<QuietModeEnd></QuietModeEnd>"}, {}, {"QuietEnd"}},
      {"running message, default settings", {Message("0")}, {}, {"Message 4"}},
      {"running message, topmost on", {kTopmost + Message("false")}, {}, {"Message 4 topmost"}},
      {"topmost kept without Enabled", {kTopmost + "<ActionRunningTopmost></ActionRunningTopmost>" + Message("false")},
       {}, {"Message 4 topmost"}},
      {"completion message never on top", {kTopmost + Message("")}, {}, {"Message 4"}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    State().initialized = row.initialized;
    for (const std::string& text : row.texts) {
      const bool whole = text.rfind("<?", 0) == 0 || text[0] != '<';
      whole ? incoming.Push(UString8(text.c_str())) : Receive(text);
    }
    for (int i = 0; i < row.dispatches; ++i) ProcessClientMessages(*session);
    EXPECT_EQ(PendingIds(), row.pending);
    EXPECT_EQ(view.events, row.events);
  }
}

// Texts queued while start-up ended come with the stash, in one dispatch: their wake-up may
// have been taken already.
TEST_F(Dispatcher, TheFirstDispatchAfterStartUpTakesTheStashThenTheQueue) {
  State().initialized = false;
  Receive(kInit);
  Receive(Request(2));
  ProcessClientMessages(*session);
  EXPECT_TRUE(State().initialized);
  EXPECT_EQ(PendingIds(), Ids{});
  Receive(Request(3));
  ProcessClientMessages(*session);
  EXPECT_EQ(PendingIds(), (Ids{2, 3}));
}

TEST_F(Dispatcher, MessagesBeforeInitializationWaitForTheDialogs) {
  State().initialized = false;
  const std::string five = "<MessageRequest><ID>5</ID></MessageRequest>";
  Receive(Message("0") + five + Message("1") + Remove("") + "<RemoveRequest><ID>5</ID>" +
          "<RemoveType>Message</RemoveType></RemoveRequest>");
  ProcessClientMessages(*session);
  EXPECT_EQ(view.events, Lines{});
  ASSERT_EQ(State().owedMessages.size(), 1u);
  EXPECT_EQ(State().owedMessages[0].message.id, 4u);
  EXPECT_TRUE(State().owedMessages[0].message.isCompletionMessage);
}

TEST_F(Dispatcher, InitializationCopiesTheSettings) {
  Receive(kInit);
  ProcessClientMessages(*session);
  const SessionState& state = State();
  ASSERT_TRUE(state.initialized);
  EXPECT_EQ(state.remindInterval, TimeInterval::Seconds(1));
  EXPECT_EQ(state.nextReminderTime, DateTime::FromUnixSeconds(120));
  EXPECT_FALSE(state.allowSnooze);
  EXPECT_TRUE(state.persistRunningMessage);
  EXPECT_FALSE(state.topmostRunningMessage);
}

}  // namespace
