#include "core/UICommandProcessor.h"

#include "core/Dispatcher.h"
#include "tests/core/SessionTestSupport.h"
#include "text/time/Clock.h"
#include "text/time/MailDateTime.h"
#include "text/time/XMLDuration.h"

#include <gtest/gtest.h>

namespace {

using namespace session_test;

constexpr DateTime kNow = DateTime::FromUnixSeconds(1700000000);
constexpr TimeInterval kSecond = TimeInterval::Seconds(1);
const std::string kAsk = "<PreActionMessage>Save first.</PreActionMessage>";

using Kind = UICommandKind;

// One step of a scenario: the client's document (applied by the dispatcher) or a user command.
// A command about a request names the record the user chose: the nth pending one with that ID,
// or, for a confirmation's answer, the record the open confirmation asked about.
struct Step {
  std::string document;
  Kind kind = Kind::kTakeAllActions;
  std::uint64_t id = 0;
  int nth = 1;
};
Step Client(const std::string& document) { return {document}; }
Step User(Kind kind, std::uint64_t id = 0, int nth = 1) { return {"", kind, id, nth}; }
Step Take(std::uint64_t id, int nth = 1) { return User(Kind::kTakeAction, id, nth); }
Step Cancel(std::uint64_t id) { return User(Kind::kCancelAction, id); }
Step Yes(std::uint64_t id) { return User(Kind::kConfirmationAccepted, id); }
Step No(std::uint64_t id) { return User(Kind::kConfirmationRefused, id); }
Step All() { return User(Kind::kTakeAllActions); }
Step Remove(std::uint64_t id) {
  return Client("<RemoveRequest><ID>" + std::to_string(id) +
                "</ID><RemoveType>Action</RemoveType></RemoveRequest>");
}

class UICommands : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    State().initialized = true;
  }
  std::uint64_t ArrivalOf(const Step& step) const {
    if (step.kind == Kind::kConfirmationAccepted || step.kind == Kind::kConfirmationRefused) {
      return view.confirmingArrival;
    }
    int seen = 0;
    for (const ActionRequest& request : session->state.pendingRequests) {
      if (request.id == step.id && ++seen == step.nth) return request.arrival;
    }
    return 0;
  }
  void Run(const Step& step) {
    if (step.document.empty()) {
      session->commands.Post({step.kind, ArrivalOf(step)});
      ProcessUICommands(*session);
    } else {
      Receive(step.document);
      ProcessClientMessages(*session);
    }
  }
  FixedClock clock{kNow};
};

// Each row: the pending requests, then the steps; the events are those of the commands.
TEST_F(UICommands, AnswersBecomeMessagesAndEvents) {
  struct Row {
    const char* what;
    std::string pending;
    std::vector<Step> steps;
    Lines sent;
    Lines events;
    Ids left;
  };
  const Lines kDone = {"Changed", "Carried"};
  const std::string k1 = Request(1), k2 = Request(2), k1Ask = Request(1, kAsk),
                    k2Ask = Request(2, kAsk), k4Ask = Request(4, kAsk);
  // clang-format off
  const Row rows[] = {
      {"details", k1, {User(Kind::kShowActionDetails, 1)}, {}, {"Preview 1"}, {1}},
      {"details or notice closed", "",
       {User(Kind::kActionDetailsClosed), User(Kind::kQuietModeNoticeClosed)},
       {}, {"Carried", "Carried"}, {}},
      {"open", "", {User(Kind::kOpenActionRequestDialog)}, {}, {"Due"}, {}},
      {"unknown kinds", k1,
       {User(static_cast<Kind>(10), 1), User(static_cast<Kind>(4294967295u), 1)}, {}, {}, {1}},
      {"cancel", k1 + k2, {Cancel(2)}, {Taken(2, true)}, kDone, {1}},
      {"cancel of a repeated ID", k2 + k1 + k2, {Cancel(2)}, {Taken(2, true)}, kDone, {1, 2}},
      {"cancel of an ID gone", k1, {Cancel(2)}, {}, {"Carried"}, {1}},
      {"take", k1 + k2, {Take(1)}, {Taken(1)}, kDone, {2}},
      {"take that needs consent", k1Ask, {Take(1)}, {}, {"Confirm 1"}, {1}},
      {"take of an ID gone", k1, {Take(5)}, {}, {"Carried"}, {1}},
      {"consent given", k1Ask + k2, {Take(1), Yes(1)}, {Taken(1)},
       {"Confirm 1", "Changed", "Carried"}, {2}},
      {"consent refused", k1Ask, {Take(1), No(1)}, {}, {"Confirm 1", "Carried"}, {1}},
      {"consent for a request gone meanwhile", k1Ask, {Take(1), Remove(1), Yes(1)}, {},
       {"Confirm 1", "Carried"}, {}},
      {"details of a request gone", k1, {User(Kind::kShowActionDetails, 2)}, {}, {"Preview none"},
       {1}},
      {"failing command", Request(RecordingView::kFailingId) + k1,
       {User(Kind::kShowActionDetails, RecordingView::kFailingId), Take(1)}, {Taken(1)}, kDone,
       {RecordingView::kFailingId}},
      {"take of the chosen one of two same IDs asks its own consent", k1 + k1Ask, {Take(1, 2)}, {},
       {"Confirm 1"}, {1, 1}},
      {"consent given for the second of two same IDs takes that one", k1Ask + k1 + k1Ask,
       {Take(1, 3), Yes(1)}, {Taken(1)}, {"Confirm 1", "Changed", "Carried"}, {1, 1}},
      {"cancel of the chosen one of two same IDs", k1 + k1Ask, {User(Kind::kCancelAction, 1, 2)},
       {Taken(1, true)}, kDone, {1}},
      {"take all", Request(3) + k1 + Request(3), {All()}, {Taken(3), Taken(1), Taken(3)}, kDone,
       {}},
      {"take all with consent", k1 + k2Ask + Request(3), {All(), Yes(2)},
       {Taken(1), Taken(2), Taken(3)}, {"Confirm 2", "Changed", "Carried"}, {}},
      {"take all refused at the second consent", k1Ask + k2 + Request(3, kAsk),
       {All(), Yes(1), No(3), Yes(3)}, {Taken(3)},
       {"Confirm 1", "Confirm 3", "Carried", "Changed", "Carried"}, {1, 2}},
      {"take all asks once for each of two same IDs", k2Ask + k2Ask, {All(), Yes(2), Yes(2)},
       {Taken(2), Taken(2)}, {"Confirm 2", "Confirm 2", "Changed", "Carried"}, {}},
      {"take all when the request being confirmed goes", k1 + k2Ask + k4Ask,
       {All(), Remove(2), Yes(2), Yes(4)}, {Taken(1), Taken(4)},
       {"Confirm 2", "Confirm 4", "Changed", "Carried"}, {}},
      {"take all when the next one to confirm goes", k1 + k2Ask + k4Ask, {All(), Remove(4), Yes(2)},
       {Taken(1), Taken(2)}, {"Confirm 2", "Changed", "Carried"}, {}},
      {"take all when an earlier one goes", k1 + k2Ask + k4Ask, {All(), Remove(1), Yes(2), Yes(4)},
       {Taken(2), Taken(4)}, {"Confirm 2", "Confirm 4", "Changed", "Carried"}, {}},
      {"take all asks for a same ID that came meanwhile", k1 + k2Ask,
       {All(), Client(k2Ask + Request(5)), Yes(2), Yes(2)},
       {Taken(1), Taken(2), Taken(2), Taken(5)}, {"Confirm 2", "Confirm 2", "Changed", "Carried"},
       {}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetUp();
    if (!row.pending.empty()) Run(Client(row.pending));
    view.events.clear();
    for (const Step& step : row.steps) {
      const std::size_t before = view.events.size();
      Run(step);
      // Only the commands' events count; the dispatcher's are tested on their own.
      if (!step.document.empty()) view.events.resize(before);
    }
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_EQ(view.events, row.events);
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
      {-15, 1700003600, DateTime::FromUnixSeconds(1700003600 - 900)},
      // the deadline cut to 32 bits
      {-5, 4294967295u, DateTime::FromUnixSeconds(4294967295ll - 300)},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.minutes);
    for (const bool pending : {true, false}) {
      SetUp();
      if (pending) State().AppendPendingRequest(ActionRequest{});
      session->commands.Post({Kind::kSnooze, 0, row.minutes, row.deadlineSeconds});
      ProcessUICommands(*session);
      const TimeInterval interval = row.minutes * 60 * kSecond;
      EXPECT_EQ(State().nextReminderTime, pending ? row.reminder : DateTime());
      EXPECT_EQ(State().remindInterval, pending ? interval : TimeInterval());
      const Lines sent = {"RemindTime TimeObject=" + Str(FormatMailDateTime(row.reminder, 0)),
                          "RemindInterval TimeInterval=" + Str(FormatXMLDuration(interval))};
      EXPECT_EQ(TakeSent(), pending ? sent : Lines{});
    }
  }
}

}  // namespace
