#include "ui/ActionSummary.h"

#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"
#include "text/time/Clock.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr DateTime kNow = DateTime::FromUnixSeconds(1709622489);
constexpr TimeInterval kMinute = TimeInterval::Minutes(1);

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

// The summary of the requests, all pending and nothing selected. It is read from the pending list
// as a store merged from that list would show it, so both ways must agree.
std::string Summary(const std::vector<ActionRequest>& requests) {
  const PendingRequestList pending(requests.begin(), requests.end());
  ActionRequestStore store;
  store.Merge(pending, kNow);
  const std::string fromList = Str(BuildActionsSummary(pending, kNow));
  EXPECT_EQ(fromList, Str(BuildActionsSummary(store, kNow)));
  return fromList;
}
std::string One(const ActionRequest& request) { return Str(BuildActionSummary(request, kNow)); }

// Per scope, the sentence of save and reboot (none, restart, shutdown) x (no save, save) and that
// of the deadline (none, within, now, automatically), joined by two spaces; two hours left.
TEST(ActionSummary, EverySentenceOfBothTables) {
  struct Scope {
    bool one;
    const char* saveAndReboot[3][2];
    const char* deadline[4];
  };
  // clang-format off
  const Scope scopes[] = {
      {true, {{"", "You should save your work before taking this action."},
              {"This action will require a system restart.", "You should save your work before taking this action, as it will require a system restart."},
              {"This action will require a system shutdown.", "You should save your work before taking this action, as it will require a system shutdown."}},
       {"", "You must take this action within 2 hours.", "You must take this action now.", "This action will run automatically in 2 hours."}},
      {false, {{"", "You should save your work before taking these actions."},
               {"The pending actions will require a system restart when they are complete.", "You should save your work before taking these actions, as they will require a system restart when they are complete."},
               {"The pending actions will require a system shutdown when they are complete.", "You should save your work before taking these actions, as they will require a system shutdown when they are complete."}},
       {"", "There is at least one action you must take within 2 hours.", "There is at least one action you must take now.", "At least one of these actions will run automatically in 2 hours."}},
  };
  // clang-format on
  FixedClock clock(kNow);
  for (const Scope& scope : scopes) {
    for (int d = 0; d < 4; ++d) {
      for (int r = 0; r < 3; ++r) {
        for (const bool save : {false, true}) {
          const std::string first = scope.saveAndReboot[r][save], second = scope.deadline[d];
          const std::string expected =
              first.empty() || second.empty() ? first + second : first + "  " + second;
          SCOPED_TRACE(expected);
          const auto deadline = static_cast<SummaryDeadline>(d);
          const auto reboot = static_cast<SummaryReboot>(r);
          std::optional<TimeInterval> fromNow;
          if (deadline != SummaryDeadline::kNone)
            fromNow = (deadline == SummaryDeadline::kNow ? 4 : 120) * kMinute;
          const bool forced = deadline == SummaryDeadline::kAutomatically;
          // A set: the flags on one request, the deadline on another, a third with neither.
          EXPECT_EQ(scope.one ? One(Request(1, fromNow, forced, reboot, save))
                              : Summary({Request(9, std::nullopt, false, reboot, save),
                                         Request(4, fromNow, forced), Request(6, std::nullopt)}),
                    expected);
        }
      }
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
      {"a repeated ID: its latest record stands for it", {Request(3, kTwoHours), Request(5, {}), Request(3, 5 * kTwoHours)}, "There is at least one action you must take within 10 hours."},
      {"earliest on a higher ID", {Request(3, 5 * kTwoHours, true), Request(8, 90 * kMinute)}, "There is at least one action you must take within 1 hour."},
      {"passed, in a set", {Request(3, -kMinute), Request(4, {})}, "There is at least one action you must take now."},
      // Both five-minute limits meet here: not before now + 5 minutes, yet not over 5 minutes.
      {"exactly five minutes", {Request(3, 5 * kMinute), Request(4, {})}, "There is at least one action you must take within Now."},
      {"the store's grace", {Request(3, kMinute, true), Request(4, {})}, "At least one of these actions will run automatically in 5 minutes, 0 seconds."},
      {"one: its own deadline", {Request(1, 4 * kMinute - TimeInterval::Seconds(1), true)}, "This action will run automatically in 3 minutes, 59 seconds."},
      {"one: forced and passed", {Request(1, -TimeInterval::Microseconds(1), true)}, "This action will run automatically in 0 seconds."},
      // clang-format on
  };
  FixedClock clock(kNow);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.requests.size() == 1 ? One(row.requests[0]) : Summary(row.requests),
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
  EXPECT_EQ(One(Request(1, TimeInterval())), "Jetzt!");
  EXPECT_EQ(One(Request(1, 180 * kMinute)), "Bis 3 Stunden.");
  // A variable the override adds has no value to take: the dialog shows a marker.
  EXPECT_EQ(One(Request(1, {}, false, SummaryReboot::kRestart)), "<Invalid String>");
}

// Every list of up to three records drawn from a few that differ in ID, deadline (ties, a
// forced one inside the grace, a passed one), reboot and save: the list gives the key a store
// merged from it gives, so repeated IDs, ties and the grace behave alike.
TEST(ActionSummary, PendingListGivesTheKeyOfItsMergedStore) {
  constexpr TimeInterval kTwoHours = 120 * kMinute;
  const ActionRequest records[] = {
      Request(2, kTwoHours),
      Request(1, kTwoHours, true),
      Request(2, kMinute, true, SummaryReboot::kRestart),
      Request(3, -kMinute, false, SummaryReboot::kShutdown),
      Request(1, {}, false, SummaryReboot::kNone, true),
      Request(3, kTwoHours, true),
  };
  constexpr std::size_t kCount = std::size(records);
  std::vector<std::vector<std::size_t>> lists = {{}};
  for (std::size_t length = 1; length <= 3; ++length) {
    std::vector<std::vector<std::size_t>> longer;
    for (const auto& list : lists) {
      if (list.size() != length - 1) continue;
      for (std::size_t next = 0; next < kCount; ++next) {
        longer.push_back(list);
        longer.back().push_back(next);
      }
    }
    lists.insert(lists.end(), longer.begin(), longer.end());
  }
  for (const auto& list : lists) {
    PendingRequestList pending;
    std::string name;
    for (const std::size_t index : list) {
      pending.push_back(records[index]);
      name += std::to_string(index);
    }
    SCOPED_TRACE(name);
    ActionRequestStore store;
    store.Merge(pending, kNow);
    const SummaryKey expected = ActionsSummaryKey(store, kNow);
    const SummaryKey key = ActionsSummaryKey(pending, kNow);
    EXPECT_EQ(key.save, expected.save);
    EXPECT_EQ(key.reboot, expected.reboot);
    EXPECT_EQ(key.deadline, expected.deadline);
    if (expected.deadline != SummaryDeadline::kNone) {
      EXPECT_EQ(key.earliest, expected.earliest);
      EXPECT_EQ(key.automatic, expected.automatic);
    }
  }
}

}  // namespace
