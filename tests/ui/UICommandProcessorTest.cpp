#include "ui/UICommandProcessor.h"

#include "core/Dispatcher.h"
#include "tests/core/SessionTestSupport.h"
#include "text/time/Clock.h"
#include "text/time/MailDateTime.h"
#include "text/time/XMLDuration.h"
#include "ui/UICommand.h"

#include <gtest/gtest.h>

namespace {

using namespace session_test;

constexpr DateTime kNow = 1700000000 * kMicrosecondsPerSecond;
constexpr TimeInterval kSecond = kMicrosecondsPerSecond;
const std::string kAsk = "<PreActionMessage>Save first.</PreActionMessage>";

// One step of a scenario: the client's document (applied by the dispatcher) or a user command.
// A command about a request names the record the user chose: the nth pending one with that ID,
// or, for a confirmation's answer, the record the open confirmation asked about.
struct Step {
  std::string document;
  std::uint32_t kind = 0;
  std::uint64_t id = 0;
  int nth = 1;
};
Step Client(const std::string& document) { return {document}; }
Step User(std::uint32_t kind, std::uint64_t id = 0, int nth = 1) { return {"", kind, id, nth}; }
Step Take(std::uint64_t id, int nth = 1) { return User(kTakeAction, id, nth); }
Step Cancel(std::uint64_t id) { return User(kCancelAction, id); }
Step Yes(std::uint64_t id) { return User(kConfirmationAccepted, id); }
Step No(std::uint64_t id) { return User(kConfirmationRefused, id); }
Step All() { return User(kTakeAllActions); }
Step Remove(std::uint64_t id) {
  return Client("<RemoveRequest><ID>" + std::to_string(id) +
                "</ID><RemoveType>Action</RemoveType></RemoveRequest>");
}

class UICommands : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    (void)TakeUICommands();
    takeAllSequence = TakeAllSequence{};
    sessionState.initialized = true;
  }
  std::uint64_t ArrivalOf(const Step& step) const {
    if (step.kind == kConfirmationAccepted || step.kind == kConfirmationRefused) {
      return dialogs.confirmingArrival;
    }
    int seen = 0;
    for (const ActionRequest& request : sessionState.pendingRequests) {
      if (request.id == step.id && ++seen == step.nth) return request.arrival;
    }
    return 0;
  }
  void Run(const Step& step) {
    if (step.document.empty()) {
      PostUICommand(step.kind, step.id, ArrivalOf(step), 0, 0);
      ProcessUICommands();
    } else {
      Receive(step.document);
      ProcessClientMessages();
    }
  }
  FixedClock clock{kNow};
};

// Each row: the pending requests, then the steps; the dialog calls are those of the commands.
TEST_F(UICommands, AnswersBecomeMessagesAndDialogCalls) {
  struct Row {
    const char* what;
    std::string pending;
    std::vector<Step> steps;
    Lines sent;
    Lines calls;
    Ids left;
  };
  const Lines kDone = {"Refresh", "Enable"};
  const std::string k1 = Request(1), k2 = Request(2), k1Ask = Request(1, kAsk),
                    k2Ask = Request(2, kAsk), k4Ask = Request(4, kAsk);
  // clang-format off
  const Row rows[] = {
      {"details", k1, {User(kShowActionDetails, 1)}, {}, {"Details 1"}, {1}},
      {"details or notice closed", "", {User(kActionDetailsClosed), User(kQuietModeNoticeClosed)},
       {}, {"Enable", "Enable"}, {}},
      {"open", "", {User(kOpenActionRequestDialog)}, {}, {"Open 0 snooze"}, {}},
      {"unknown kinds", k1, {User(10, 1), User(4294967295u, 1)}, {}, {}, {1}},
      {"cancel", k1 + k2, {Cancel(2)}, {Taken(2, true)}, kDone, {1}},
      {"cancel of a repeated ID", k2 + k1 + k2, {Cancel(2)}, {Taken(2, true)}, kDone, {1, 2}},
      {"cancel of an ID gone", k1, {Cancel(2)}, {}, {"Enable"}, {1}},
      {"take", k1 + k2, {Take(1)}, {Taken(1)}, kDone, {2}},
      {"take that needs consent", k1Ask, {Take(1)}, {}, {"Confirm 1"}, {1}},
      {"take of an ID gone", k1, {Take(5)}, {}, {"Enable"}, {1}},
      {"consent given", k1Ask + k2, {Take(1), Yes(1)}, {Taken(1)},
       {"Confirm 1", "Refresh", "Enable"}, {2}},
      {"consent refused", k1Ask, {Take(1), No(1)}, {}, {"Confirm 1", "Enable"}, {1}},
      {"consent for a request gone meanwhile", k1Ask, {Take(1), Remove(1), Yes(1)}, {},
       {"Confirm 1", "Enable"}, {}},
      {"details of a request gone", k1, {User(kShowActionDetails, 2)}, {}, {"Details none"}, {1}},
      {"failing command", Request(RecordingDialogs::kFailingId) + k1,
       {User(kShowActionDetails, RecordingDialogs::kFailingId), Take(1)}, {Taken(1)}, kDone,
       {RecordingDialogs::kFailingId}},
      {"take of the chosen one of two same IDs asks its own consent", k1 + k1Ask, {Take(1, 2)}, {},
       {"Confirm 1"}, {1, 1}},
      {"consent given for the second of two same IDs takes that one", k1Ask + k1 + k1Ask,
       {Take(1, 3), Yes(1)}, {Taken(1)}, {"Confirm 1", "Refresh", "Enable"}, {1, 1}},
      {"cancel of the chosen one of two same IDs", k1 + k1Ask, {User(kCancelAction, 1, 2)},
       {Taken(1, true)}, kDone, {1}},
      {"take all", Request(3) + k1 + Request(3), {All()}, {Taken(3), Taken(1), Taken(3)}, kDone,
       {}},
      {"take all with consent", k1 + k2Ask + Request(3), {All(), Yes(2)},
       {Taken(1), Taken(2), Taken(3)}, {"Confirm 2", "Refresh", "Enable"}, {}},
      {"take all refused at the second consent", k1Ask + k2 + Request(3, kAsk),
       {All(), Yes(1), No(3), Yes(3)}, {Taken(3)},
       {"Confirm 1", "Confirm 3", "Enable", "Refresh", "Enable"}, {1, 2}},
      {"take all asks once for each of two same IDs", k2Ask + k2Ask, {All(), Yes(2), Yes(2)},
       {Taken(2), Taken(2)}, {"Confirm 2", "Confirm 2", "Refresh", "Enable"}, {}},
      {"take all when the request being confirmed goes", k1 + k2Ask + k4Ask,
       {All(), Remove(2), Yes(2), Yes(4)}, {Taken(1), Taken(4)},
       {"Confirm 2", "Confirm 4", "Refresh", "Enable"}, {}},
      {"take all when the next one to confirm goes", k1 + k2Ask + k4Ask, {All(), Remove(4), Yes(2)},
       {Taken(1), Taken(2)}, {"Confirm 2", "Refresh", "Enable"}, {}},
      {"take all when an earlier one goes", k1 + k2Ask + k4Ask, {All(), Remove(1), Yes(2), Yes(4)},
       {Taken(2), Taken(4)}, {"Confirm 2", "Confirm 4", "Refresh", "Enable"}, {}},
      {"take all asks for a same ID that came meanwhile", k1 + k2Ask,
       {All(), Client(k2Ask + Request(5)), Yes(2), Yes(2)},
       {Taken(1), Taken(2), Taken(2), Taken(5)}, {"Confirm 2", "Confirm 2", "Refresh", "Enable"},
       {}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    if (!row.pending.empty()) Run(Client(row.pending));
    dialogs.calls.clear();
    for (const Step& step : row.steps) {
      const std::size_t before = dialogs.calls.size();
      Run(step);
      // Only the commands' calls count; the dispatcher's are tested on their own.
      if (!step.document.empty()) dialogs.calls.resize(before);
    }
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_EQ(dialogs.calls, row.calls);
    EXPECT_EQ(PendingIds(), row.left);
  }
}

TEST_F(UICommands, SnoozeAfterOrBeforeTheDeadline) {
  struct Row {
    std::int32_t minutes;
    std::uint32_t deadlineSeconds;
    DateTime reminder;
  };
  // clang-format off
  const Row rows[] = {
      {5, 1, kNow + 300 * kSecond},
      {1440, 1, kNow + 86400 * kSecond},
      {-15, 1700003600, (1700003600 - 900) * kSecond},
      {-5, 4294967295u, (4294967295ll - 300) * kSecond},  // the deadline cut to 32 bits
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.minutes);
    for (const bool pending : {true, false}) {
      SetUp();
      if (pending) AppendPendingRequest(ActionRequest{});
      PostUICommand(kSnooze, 0, 0, row.minutes, row.deadlineSeconds);
      ProcessUICommands();
      const TimeInterval interval = row.minutes * 60 * kSecond;
      EXPECT_EQ(sessionState.nextReminderTime, pending ? row.reminder : 0);
      EXPECT_EQ(sessionState.remindInterval, pending ? interval : 0);
      const Lines sent = {"RemindTime TimeObject=" + Str(FormatMailDateTime(row.reminder, 0)),
                          "RemindInterval TimeInterval=" + Str(FormatXMLDuration(interval))};
      EXPECT_EQ(TakeSent(), pending ? sent : Lines{});
    }
  }
}

}  // namespace
