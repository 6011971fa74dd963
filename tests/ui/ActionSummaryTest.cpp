#include "ui/ActionSummary.h"

#include "text/format/FormatErrors.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"
#include "text/time/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DateTime kNow = 1709622489LL * kMicrosecondsPerSecond;
constexpr TimeInterval kMinute = 60 * kMicrosecondsPerSecond;

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

using D = SummaryDeadline;
using R = SummaryReboot;

struct SentenceRow {
  D deadline;
  R reboot;
  bool save;
  const char* expected;  // with two hours left where the sentence shows the time
};

// Two hours ahead for the sentences that show the time, four minutes for "now".
void GiveDeadline(ActionRequest& request, D clause) {
  if (clause == D::kNone) return;
  request.deadline = kNow + (clause == D::kNow ? 4 : 120) * kMinute;
  request.forceRun = clause == D::kAutomatically;
}

void GiveFlags(ActionRequest& request, R reboot, bool save) {
  request.requestSave = save;
  request.restart = reboot == R::kRestart;
  request.shutdown = reboot == R::kShutdown;
}

TEST(ActionSummary, EverySentenceForOneRequest) {
  const SentenceRow rows[] = {
      {D::kNone, R::kNone, false, ""},
      {D::kNone, R::kNone, true, "You should save your work before taking this action."},
      {D::kNone, R::kRestart, false, "This action will require a system restart."},
      {D::kNone, R::kRestart, true,
       "You should save your work before taking this action, as it will require a system "
       "restart."},
      {D::kNone, R::kShutdown, false, "This action will require a system shutdown."},
      {D::kNone, R::kShutdown, true,
       "You should save your work before taking this action, as it will require a system "
       "shutdown."},
      {D::kWithin, R::kNone, false, "You must take this action within 2 hours."},
      {D::kWithin, R::kNone, true,
       "You should save your work before taking this action.  You must take this action within "
       "2 hours."},
      {D::kWithin, R::kRestart, false,
       "This action will require a system restart.  You must take this action within 2 hours."},
      {D::kWithin, R::kRestart, true,
       "You should save your work before taking this action, as it will require a system "
       "restart.  You must take this action within 2 hours."},
      {D::kWithin, R::kShutdown, false,
       "This action will require a system shutdown.  You must take this action within 2 hours."},
      {D::kWithin, R::kShutdown, true,
       "You should save your work before taking this action, as it will require a system "
       "shutdown.  You must take this action within 2 hours."},
      {D::kNow, R::kNone, false, "You must take this action now."},
      {D::kNow, R::kNone, true,
       "You should save your work before taking this action.  You must take this action now."},
      {D::kNow, R::kRestart, false,
       "This action will require a system restart.  You must take this action now."},
      {D::kNow, R::kRestart, true,
       "You should save your work before taking this action, as it will require a system "
       "restart.  You must take this action now."},
      {D::kNow, R::kShutdown, false,
       "This action will require a system shutdown.  You must take this action now."},
      {D::kNow, R::kShutdown, true,
       "You should save your work before taking this action, as it will require a system "
       "shutdown.  You must take this action now."},
      {D::kAutomatically, R::kNone, false, "This action will run automatically in 2 hours."},
      {D::kAutomatically, R::kNone, true,
       "You should save your work before taking this action.  This action will run "
       "automatically in 2 hours."},
      {D::kAutomatically, R::kRestart, false,
       "This action will require a system restart.  This action will run automatically in 2 "
       "hours."},
      {D::kAutomatically, R::kRestart, true,
       "You should save your work before taking this action, as it will require a system "
       "restart.  This action will run automatically in 2 hours."},
      {D::kAutomatically, R::kShutdown, false,
       "This action will require a system shutdown.  This action will run automatically in 2 "
       "hours."},
      {D::kAutomatically, R::kShutdown, true,
       "You should save your work before taking this action, as it will require a system "
       "shutdown.  This action will run automatically in 2 hours."},
  };
  FixedClock clock(kNow);
  for (const SentenceRow& row : rows) {
    SCOPED_TRACE(row.expected);
    ActionRequest request;
    GiveFlags(request, row.reboot, row.save);
    GiveDeadline(request, row.deadline);
    EXPECT_EQ(Str(BuildActionSummary(request)), row.expected);
  }
}

TEST(ActionSummary, EverySentenceForASetWithFlagsAndDeadlineOnDifferentRequests) {
  const SentenceRow rows[] = {
      {D::kNone, R::kNone, false, ""},
      {D::kNone, R::kNone, true, "You should save your work before taking these actions."},
      {D::kNone, R::kRestart, false,
       "The pending actions will require a system restart when they are complete."},
      {D::kNone, R::kRestart, true,
       "You should save your work before taking these actions, as they will require a system "
       "restart when they are complete."},
      {D::kNone, R::kShutdown, false,
       "The pending actions will require a system shutdown when they are complete."},
      {D::kNone, R::kShutdown, true,
       "You should save your work before taking these actions, as they will require a system "
       "shutdown when they are complete."},
      {D::kWithin, R::kNone, false, "There is at least one action you must take within 2 hours."},
      {D::kWithin, R::kNone, true,
       "You should save your work before taking these actions.  There is at least one action you "
       "must take within 2 hours."},
      {D::kWithin, R::kRestart, false,
       "The pending actions will require a system restart when they are complete.  There is at "
       "least one action you must take within 2 hours."},
      {D::kWithin, R::kRestart, true,
       "You should save your work before taking these actions, as they will require a system "
       "restart when they are complete.  There is at least one action you must take within 2 "
       "hours."},
      {D::kWithin, R::kShutdown, false,
       "The pending actions will require a system shutdown when they are complete.  There is at "
       "least one action you must take within 2 hours."},
      {D::kWithin, R::kShutdown, true,
       "You should save your work before taking these actions, as they will require a system "
       "shutdown when they are complete.  There is at least one action you must take within 2 "
       "hours."},
      {D::kNow, R::kNone, false, "There is at least one action you must take now."},
      {D::kNow, R::kNone, true,
       "You should save your work before taking these actions.  There is at least one action you "
       "must take now."},
      {D::kNow, R::kRestart, false,
       "The pending actions will require a system restart when they are complete.  There is at "
       "least one action you must take now."},
      {D::kNow, R::kRestart, true,
       "You should save your work before taking these actions, as they will require a system "
       "restart when they are complete.  There is at least one action you must take now."},
      {D::kNow, R::kShutdown, false,
       "The pending actions will require a system shutdown when they are complete.  There is at "
       "least one action you must take now."},
      {D::kNow, R::kShutdown, true,
       "You should save your work before taking these actions, as they will require a system "
       "shutdown when they are complete.  There is at least one action you must take now."},
      {D::kAutomatically, R::kNone, false,
       "At least one of these actions will run automatically in 2 hours."},
      {D::kAutomatically, R::kNone, true,
       "You should save your work before taking these actions.  At least one of these actions "
       "will run automatically in 2 hours."},
      {D::kAutomatically, R::kRestart, false,
       "The pending actions will require a system restart when they are complete.  At least one "
       "of these actions will run automatically in 2 hours."},
      {D::kAutomatically, R::kRestart, true,
       "You should save your work before taking these actions, as they will require a system "
       "restart when they are complete.  At least one of these actions will run automatically in "
       "2 hours."},
      {D::kAutomatically, R::kShutdown, false,
       "The pending actions will require a system shutdown when they are complete.  At least one "
       "of these actions will run automatically in 2 hours."},
      {D::kAutomatically, R::kShutdown, true,
       "You should save your work before taking these actions, as they will require a system "
       "shutdown when they are complete.  At least one of these actions will run automatically "
       "in 2 hours."},
  };
  FixedClock clock(kNow);
  for (const SentenceRow& row : rows) {
    SCOPED_TRACE(row.expected);
    ActionRequest flags, deadline, plain;
    flags.id = 9;
    deadline.id = 4;
    plain.id = 6;
    GiveFlags(flags, row.reboot, row.save);
    GiveDeadline(deadline, row.deadline);
    ActionRequestStore store;
    store.Merge({flags, deadline, plain});
    EXPECT_EQ(Str(BuildActionsSummary({9, 6, 4, 9}, store)), row.expected);
  }
}

ActionRequest Request(std::uint64_t id, TimeInterval fromNow, bool forceRun) {
  ActionRequest request;
  request.id = id;
  request.deadline = kNow + fromNow;
  request.forceRun = forceRun;
  return request;
}

TEST(ActionSummary, ShutdownWinsInASetAndRestartForOneRequest) {
  FixedClock clock(kNow);
  ActionRequest restart, shutdown, both;
  restart.id = 1;
  restart.restart = true;
  shutdown.id = 2;
  shutdown.shutdown = true;
  both.restart = both.shutdown = true;
  ActionRequestStore store;
  store.Merge({restart, shutdown});
  EXPECT_EQ(Str(BuildActionsSummary({1, 2}, store)),
            "The pending actions will require a system shutdown when they are complete.");
  EXPECT_EQ(Str(BuildActionSummary(both)), "This action will require a system restart.");
}

TEST(ActionSummary, EarliestDeadlineDecidesAndTheLowestIdBreaksATie) {
  struct Row {
    const char* name;
    std::vector<ActionRequest> requests;
    const char* expected;
  };
  const Row rows[] = {
      {"tie, lowest ID forced",
       {Request(8, 120 * kMinute, false), Request(3, 120 * kMinute, true)},
       "At least one of these actions will run automatically in 2 hours."},
      {"tie, lowest ID not forced",
       {Request(3, 120 * kMinute, false), Request(8, 120 * kMinute, true)},
       "There is at least one action you must take within 2 hours."},
      {"earlier one on a higher ID",
       {Request(3, 600 * kMinute, true), Request(8, 90 * kMinute, false)},
       "There is at least one action you must take within 1 hour."},
      {"passed deadline is now",
       {Request(3, -kMinute, false)},
       "There is at least one action you must take now."},
      // The two five-minute limits meet here: not before now + 5 minutes, yet not over 5 minutes.
      {"exactly five minutes is within, and its time text Now",
       {Request(3, 5 * kMinute, false)},
       "There is at least one action you must take within Now."},
      {"a second over five minutes",
       {Request(3, 5 * kMinute + kMicrosecondsPerSecond, false)},
       "There is at least one action you must take within 5 minutes."},
      // The store's grace: forced and one minute away shows five minutes.
      {"forced within the grace",
       {Request(3, kMinute, true)},
       "At least one of these actions will run automatically in 5 minutes, 0 seconds."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FixedClock clock(kNow);
    ActionRequestStore store;
    store.Merge(row.requests);
    std::vector<std::uint64_t> ids;
    for (const ActionRequest& request : row.requests) ids.push_back(request.id);
    EXPECT_EQ(Str(BuildActionsSummary(ids, store)), row.expected);
  }
}

TEST(ActionSummary, OneRequestCountsDownFromItsOwnDeadline) {
  FixedClock clock(kNow);
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 4 * kMinute, false))),
            "You must take this action now.");
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 4 * kMinute, true))),
            "This action will run automatically in 4 minutes, 0 seconds.");
  clock.Advance(kMicrosecondsPerSecond);
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 4 * kMinute, true))),
            "This action will run automatically in 3 minutes, 59 seconds.");
  EXPECT_EQ(Str(BuildActionSummary(Request(1, -1, true))),
            "This action will run automatically in 0 seconds.");
}

TEST(ActionSummary, SentencesAreLookedUpForOverrides) {
  FixedClock clock(kNow);
  const OverrideTable table(
      "You must take this action now.\tJetzt!\n"
      "You must take this action within {DeadlineText}.\tBis {DeadlineText}.\n"
      "{hours} hours\t{hours} Stunden\n"
      "This action will require a system restart.\t{DeadlineText}\n",
      "de.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 0, false))), "Jetzt!");
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 180 * kMinute, false))), "Bis 3 Stunden.");
  ActionRequest restart;
  restart.restart = true;
  // A variable added by the override has no value to take.
  EXPECT_THROW((void)BuildActionSummary(restart), TooManyFormatArguments);
  ActionRequestStore store;
  EXPECT_THROW((void)BuildActionsSummary({1}, store), NoSuchActionRequestID);
}

}  // namespace
