#include "core/TimerTick.h"

#include "tests/core/SessionTestSupport.h"
#include "text/time/Clock.h"
#include "text/time/MailDateTime.h"

#include <gtest/gtest.h>

namespace {

using namespace session_test;

constexpr DateTime kNow = DateTime::FromUnixSeconds(1700000000);
constexpr TimeInterval kSecond = TimeInterval::Seconds(1);

std::string Forced(std::uint64_t id, TimeInterval fromNow, const char* forceRun = "1") {
  return Request(id, std::string("<ForceRun>") + forceRun + "</ForceRun><Deadline>" +
                         Str(FormatMailDateTime(kNow + fromNow, 0)) + "</Deadline>");
}

class Tick : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    State().initialized = true;
    State().nextReminderTime = kNow;
    // The first initialised tick says the session started; the tests start after it.
    TimerTick(*session, TickCause::kSecond);
  }
  Lines RunTick() {
    view.events.clear();
    TimerTick(*session, TickCause::kSecond);
    return view.events;
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
      {"due this second", Forced(1, {}), {}, {1}, true},
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
    EXPECT_EQ(RunTick().back() == "Changed", row.refresh);
    EXPECT_EQ(TakeSent(), row.sent);
    EXPECT_EQ(PendingIds(), row.left);
  }
}

// A tick run because work was waiting takes forced requests like any other, but only the
// clock's ticks count seconds: the message windows' Timeout and the countdown's redraw.
TEST_F(Tick, TicksForWorkCountNoSecond) {
  struct Row {
    const char* what;
    std::string requests;
    TickCause cause;
    Lines events;
    Lines sent;
  };
  // clang-format off
  const Row rows[] = {
      {"clock, deadline passed", Forced(1, kSecond), TickCause::kSecond, {"Second", "Changed"}, {Taken(1)}},
      {"work, deadline passed", Forced(1, kSecond), TickCause::kWork, {"Changed"}, {Taken(1)}},
      {"clock, counting down", Forced(1, 10 * kSecond), TickCause::kSecond, {"Second", "Changed"}, {}},
      {"work, counting down", Forced(1, 10 * kSecond), TickCause::kWork, {}, {}},
      {"work, nothing forced", Request(1), TickCause::kWork, {}, {}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    clock.Set(kNow);
    SetUp();
    State().nextReminderTime = kNow + 3600 * kSecond;
    Receive(row.requests);
    // The requests' own arrival redraws the list; the tick after it is the one under test.
    (void)RunTick();
    EXPECT_EQ(TakeSent(), Lines{});
    clock.Advance(2 * kSecond);
    view.events.clear();
    TimerTick(*session, row.cause);
    EXPECT_EQ(view.events, row.events);
    EXPECT_EQ(TakeSent(), row.sent);
  }
}

TEST_F(Tick, RemindersAndTheOrderOfTheSteps) {
  // Not initialised: dispatch and commands only, no start, no dialog for the request.
  session = std::make_unique<Session>(incoming, view);
  Receive(Request(5));
  session->commands.Post({UICommandKind::kCancelAction, 1});
  EXPECT_EQ(RunTick(), (Lines{"Changed", "Carried"}));
  EXPECT_EQ(TakeSent(), Lines{Taken(5, true)});
  Receive(Request(6));
  EXPECT_EQ(RunTick(), Lines{});
  // The first initialised tick starts the session and shows the requests owed to the early one
  // although the reminder time has not come; later ones wait for the clock to pass that time.
  State().initialized = true;
  State().nextReminderTime = kNow + kSecond;
  EXPECT_EQ(RunTick(), (Lines{"Started", "Due", "Second"}));
  EXPECT_EQ(RunTick(), Lines{"Second"});
  clock.Advance(kSecond);
  EXPECT_EQ(RunTick(), Lines{"Second"});
  clock.Advance(kSecond);
  EXPECT_EQ(RunTick(), (Lines{"Due", "Second"}));
  State().pendingRequests.clear();
  EXPECT_EQ(RunTick(), Lines{"Second"});
}

TEST_F(Tick, MessagesFromBeforeStartUpAreShownFirst) {
  const auto message = [](int id) {
    return "<MessageRequest><ID>" + std::to_string(id) + "</ID></MessageRequest>";
  };
  for (const int later : {7, 4}) {
    SCOPED_TRACE(later);
    session = std::make_unique<Session>(incoming, view);
    Receive(message(4));
    EXPECT_EQ(RunTick(), Lines{});
    State().initialized = true;
    // A later text of the same ID comes after the early one, so the window shows the later.
    Receive(message(later));
    EXPECT_EQ(RunTick(),
              (Lines{"Started", "Message 4", "Message " + std::to_string(later), "Second"}));
    EXPECT_EQ(RunTick(), Lines{"Second"});
  }
}

TEST_F(Tick, QuietModeHoldsForcedRunsButNotReminders) {
  Receive(Forced(1, -kSecond) + "<QuietModeStart></QuietModeStart>");
  State().nextReminderTime = kNow - kSecond;
  EXPECT_EQ(RunTick(), (Lines{"Due", "Changed", "Quiet 0 0", "Due", "Second"}));
  clock.Advance(3600 * kSecond);
  RunTick();
  EXPECT_EQ(TakeSent(), Lines{});
  Receive("<QuietModeEnd></QuietModeEnd>");
  RunTick();
  EXPECT_EQ(TakeSent(), Lines{Taken(1)});
}

}  // namespace
