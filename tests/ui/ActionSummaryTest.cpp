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

ActionRequest Request(std::uint64_t id, std::optional<TimeInterval> fromNow, bool forceRun = false,
                      SummaryReboot reboot = SummaryReboot::kNone, bool save = false) {
  ActionRequest request;
  request.id = id;
  if (fromNow) request.deadline = kNow + *fromNow;
  request.forceRun = forceRun;
  request.restart = reboot == SummaryReboot::kRestart;
  request.shutdown = reboot == SummaryReboot::kShutdown;
  request.requestSave = save;
  return request;
}

// The summary of the requests, all pending and nothing selected.
std::string Summary(const std::vector<ActionRequest>& requests) {
  ActionRequestStore store;
  store.Merge(requests);
  std::vector<std::uint64_t> ids;
  for (const ActionRequest& request : requests) ids.push_back(request.id);
  return Str(BuildActionsSummary(ids, store));
}

TEST(ActionSummary, EverySentenceOfBothTables) {
  enum Scope { kOne, kSet };
  using D = SummaryDeadline;
  using R = SummaryReboot;
  struct Row {
    Scope scope;
    D deadline;
    R reboot;
    bool save;
    const char* expected;  // two hours left where the time is shown
  };
  // clang-format off
  const Row rows[] = {
      {kOne, D::kNone, R::kNone, false, ""},
      {kOne, D::kNone, R::kNone, true, "You should save your work before taking this action."},
      {kOne, D::kNone, R::kRestart, false, "This action will require a system restart."},
      {kOne, D::kNone, R::kRestart, true, "You should save your work before taking this action, as it will require a system restart."},
      {kOne, D::kNone, R::kShutdown, false, "This action will require a system shutdown."},
      {kOne, D::kNone, R::kShutdown, true, "You should save your work before taking this action, as it will require a system shutdown."},
      {kOne, D::kWithin, R::kNone, false, "You must take this action within 2 hours."},
      {kOne, D::kWithin, R::kNone, true, "You should save your work before taking this action.  You must take this action within 2 hours."},
      {kOne, D::kWithin, R::kRestart, false, "This action will require a system restart.  You must take this action within 2 hours."},
      {kOne, D::kWithin, R::kRestart, true, "You should save your work before taking this action, as it will require a system restart.  You must take this action within 2 hours."},
      {kOne, D::kWithin, R::kShutdown, false, "This action will require a system shutdown.  You must take this action within 2 hours."},
      {kOne, D::kWithin, R::kShutdown, true, "You should save your work before taking this action, as it will require a system shutdown.  You must take this action within 2 hours."},
      {kOne, D::kNow, R::kNone, false, "You must take this action now."},
      {kOne, D::kNow, R::kNone, true, "You should save your work before taking this action.  You must take this action now."},
      {kOne, D::kNow, R::kRestart, false, "This action will require a system restart.  You must take this action now."},
      {kOne, D::kNow, R::kRestart, true, "You should save your work before taking this action, as it will require a system restart.  You must take this action now."},
      {kOne, D::kNow, R::kShutdown, false, "This action will require a system shutdown.  You must take this action now."},
      {kOne, D::kNow, R::kShutdown, true, "You should save your work before taking this action, as it will require a system shutdown.  You must take this action now."},
      {kOne, D::kAutomatically, R::kNone, false, "This action will run automatically in 2 hours."},
      {kOne, D::kAutomatically, R::kNone, true, "You should save your work before taking this action.  This action will run automatically in 2 hours."},
      {kOne, D::kAutomatically, R::kRestart, false, "This action will require a system restart.  This action will run automatically in 2 hours."},
      {kOne, D::kAutomatically, R::kRestart, true, "You should save your work before taking this action, as it will require a system restart.  This action will run automatically in 2 hours."},
      {kOne, D::kAutomatically, R::kShutdown, false, "This action will require a system shutdown.  This action will run automatically in 2 hours."},
      {kOne, D::kAutomatically, R::kShutdown, true, "You should save your work before taking this action, as it will require a system shutdown.  This action will run automatically in 2 hours."},
      {kSet, D::kNone, R::kNone, false, ""},
      {kSet, D::kNone, R::kNone, true, "You should save your work before taking these actions."},
      {kSet, D::kNone, R::kRestart, false, "The pending actions will require a system restart when they are complete."},
      {kSet, D::kNone, R::kRestart, true, "You should save your work before taking these actions, as they will require a system restart when they are complete."},
      {kSet, D::kNone, R::kShutdown, false, "The pending actions will require a system shutdown when they are complete."},
      {kSet, D::kNone, R::kShutdown, true, "You should save your work before taking these actions, as they will require a system shutdown when they are complete."},
      {kSet, D::kWithin, R::kNone, false, "There is at least one action you must take within 2 hours."},
      {kSet, D::kWithin, R::kNone, true, "You should save your work before taking these actions.  There is at least one action you must take within 2 hours."},
      {kSet, D::kWithin, R::kRestart, false, "The pending actions will require a system restart when they are complete.  There is at least one action you must take within 2 hours."},
      {kSet, D::kWithin, R::kRestart, true, "You should save your work before taking these actions, as they will require a system restart when they are complete.  There is at least one action you must take within 2 hours."},
      {kSet, D::kWithin, R::kShutdown, false, "The pending actions will require a system shutdown when they are complete.  There is at least one action you must take within 2 hours."},
      {kSet, D::kWithin, R::kShutdown, true, "You should save your work before taking these actions, as they will require a system shutdown when they are complete.  There is at least one action you must take within 2 hours."},
      {kSet, D::kNow, R::kNone, false, "There is at least one action you must take now."},
      {kSet, D::kNow, R::kNone, true, "You should save your work before taking these actions.  There is at least one action you must take now."},
      {kSet, D::kNow, R::kRestart, false, "The pending actions will require a system restart when they are complete.  There is at least one action you must take now."},
      {kSet, D::kNow, R::kRestart, true, "You should save your work before taking these actions, as they will require a system restart when they are complete.  There is at least one action you must take now."},
      {kSet, D::kNow, R::kShutdown, false, "The pending actions will require a system shutdown when they are complete.  There is at least one action you must take now."},
      {kSet, D::kNow, R::kShutdown, true, "You should save your work before taking these actions, as they will require a system shutdown when they are complete.  There is at least one action you must take now."},
      {kSet, D::kAutomatically, R::kNone, false, "At least one of these actions will run automatically in 2 hours."},
      {kSet, D::kAutomatically, R::kNone, true, "You should save your work before taking these actions.  At least one of these actions will run automatically in 2 hours."},
      {kSet, D::kAutomatically, R::kRestart, false, "The pending actions will require a system restart when they are complete.  At least one of these actions will run automatically in 2 hours."},
      {kSet, D::kAutomatically, R::kRestart, true, "You should save your work before taking these actions, as they will require a system restart when they are complete.  At least one of these actions will run automatically in 2 hours."},
      {kSet, D::kAutomatically, R::kShutdown, false, "The pending actions will require a system shutdown when they are complete.  At least one of these actions will run automatically in 2 hours."},
      {kSet, D::kAutomatically, R::kShutdown, true, "You should save your work before taking these actions, as they will require a system shutdown when they are complete.  At least one of these actions will run automatically in 2 hours."},
  };
  // clang-format on
  FixedClock clock(kNow);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    std::optional<TimeInterval> fromNow;
    if (row.deadline != D::kNone) fromNow = (row.deadline == D::kNow ? 4 : 120) * kMinute;
    const bool forced = row.deadline == D::kAutomatically;
    if (row.scope == kOne) {
      EXPECT_EQ(Str(BuildActionSummary(Request(1, fromNow, forced, row.reboot, row.save))),
                row.expected);
    } else {
      // Flags on one request, the deadline on another, a third with neither.
      EXPECT_EQ(Summary({Request(9, std::nullopt, false, row.reboot, row.save),
                         Request(4, fromNow, forced), Request(6, std::nullopt)}),
                row.expected);
    }
  }
}

TEST(ActionSummary, KeyRules) {
  constexpr TimeInterval kTwoHours = 120 * kMinute;
  constexpr SummaryReboot kRestart = SummaryReboot::kRestart;
  ActionRequest both = Request(1, {}, false, kRestart);
  both.shutdown = true;
  struct Row {
    const char* name;
    std::vector<ActionRequest> requests;  // one alone is the selected request
    const char* expected;
  } const rows[] = {
      // clang-format off
      {"a set: shutdown wins", {Request(1, {}, false, kRestart), Request(2, {}, false, SummaryReboot::kShutdown)}, "The pending actions will require a system shutdown when they are complete."},
      {"one: restart wins", {both}, "This action will require a system restart."},
      {"tie, lowest ID forced", {Request(8, kTwoHours), Request(3, kTwoHours, true)}, "At least one of these actions will run automatically in 2 hours."},
      {"tie, lowest ID not forced", {Request(3, kTwoHours), Request(8, kTwoHours, true)}, "There is at least one action you must take within 2 hours."},
      {"earliest on a higher ID", {Request(3, 5 * kTwoHours, true), Request(8, 90 * kMinute)}, "There is at least one action you must take within 1 hour."},
      {"passed, in a set", {Request(3, -kMinute), Request(4, {})}, "There is at least one action you must take now."},
      // Both five-minute limits meet here: not before now + 5 minutes, yet not over 5 minutes.
      {"exactly five minutes", {Request(3, 5 * kMinute), Request(4, {})}, "There is at least one action you must take within Now."},
      {"the store's grace", {Request(3, kMinute, true), Request(4, {})}, "At least one of these actions will run automatically in 5 minutes, 0 seconds."},
      {"one: its own deadline", {Request(1, 4 * kMinute - kMicrosecondsPerSecond, true)}, "This action will run automatically in 3 minutes, 59 seconds."},
      {"one: forced and passed", {Request(1, -1, true)}, "This action will run automatically in 0 seconds."},
      // clang-format on
  };
  FixedClock clock(kNow);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(
        row.requests.size() == 1 ? Str(BuildActionSummary(row.requests[0])) : Summary(row.requests),
        row.expected);
  }
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
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 0))), "Jetzt!");
  EXPECT_EQ(Str(BuildActionSummary(Request(1, 180 * kMinute))), "Bis 3 Stunden.");
  // A variable the override adds has no value to take.
  EXPECT_THROW((void)BuildActionSummary(Request(1, {}, false, SummaryReboot::kRestart)),
               TooManyFormatArguments);
  ActionRequestStore store;
  EXPECT_THROW((void)BuildActionsSummary({1}, store), NoSuchActionRequestID);
}

}  // namespace
