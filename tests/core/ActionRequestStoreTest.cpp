#include "core/ActionRequestStore.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr DateTime kNow = DateTime::FromUnixSeconds(1709622489);  // 2024-03-05 07:08:09 UTC
constexpr TimeInterval kMinute = TimeInterval::Minutes(1);

ActionRequest Request(std::uint64_t id, const char* title) {
  ActionRequest request;
  request.id = id;
  request.title = UString8(title);
  return request;
}

const ActionRequest& Entry(const ActionRequestStore& store, std::uint64_t id) {
  for (const auto& entry : store) {
    if (entry.first == id) return entry.second;
  }
  throw std::out_of_range("no such entry");
}

std::vector<std::uint64_t> Ids(const ActionRequestStore& store) {
  std::vector<std::uint64_t> ids;
  for (const auto& entry : store) ids.push_back(entry.first);
  return ids;
}

TEST(ActionRequestStore, LaterRequestReplacesEveryFieldAndIdsAscend) {
  ActionRequest first = Request(7, "first");
  first.deadline = kNow + 60 * kMinute;
  first.preview = UString8("script");
  first.requestSave = first.restart = first.cancellable = true;
  ActionRequest third = Request(7, "third");
  third.metaData = UString8("m");
  third.shutdown = true;
  ActionRequestStore store;
  store.Merge({first, Request(3, "second"), third}, kNow);
  EXPECT_EQ(Ids(store), (std::vector<std::uint64_t>{3, 7}));
  const ActionRequest& seven = Entry(store, 7);
  EXPECT_EQ(std::string(seven.title.begin(), seven.title.end()), "third");
  // Nothing of the first record survives, not even what the third one leaves unset.
  EXPECT_FALSE(seven.deadline || seven.preview || seven.requestSave || seven.restart ||
               seven.cancellable);
  EXPECT_TRUE(seven.metaData && seven.shutdown);
  // A later merge adds to the store; it removes nothing.
  store.Merge({}, kNow);
  store.Merge({Request(5, "fifth")}, kNow);
  EXPECT_EQ(Ids(store), (std::vector<std::uint64_t>{3, 5, 7}));
}

TEST(ActionRequestStore, ForcedDeadlineIsKeptAtLeastFiveMinutesAway) {
  struct Row {
    const char* name;
    bool forceRun;
    std::optional<TimeInterval> deadlineFromNow;
    std::optional<TimeInterval> shownFromNow;
  } const rows[] = {
      {"forced, long past", true, -600 * kMinute, 5 * kMinute},
      {"forced, just under the grace", true, 5 * kMinute - TimeInterval::Microseconds(1),
       5 * kMinute},
      {"forced, later than the grace", true, 6 * kMinute, 6 * kMinute},
      {"forced, no deadline", true, std::nullopt, std::nullopt},
      {"not forced, past", false, -kMinute, -kMinute},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ActionRequest request = Request(1, "r");
    request.forceRun = row.forceRun;
    if (row.deadlineFromNow) request.deadline = kNow + *row.deadlineFromNow;
    ActionRequestStore store;
    store.Merge({request}, kNow);
    const std::optional<DateTime> shown = Entry(store, 1).deadline;
    EXPECT_EQ(shown,
              row.shownFromNow ? std::optional<DateTime>(kNow + *row.shownFromNow) : std::nullopt);
  }
}

}  // namespace
