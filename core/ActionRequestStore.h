// The pending requests by ID, each ID once, in ascending order: what the summary texts read.
// The dialog builds one from the pending list whenever it updates its texts, so it mirrors that
// list, except that a forced request's deadline is never shown closer than the warning period.
#pragma once

#include "core/ActionRequest.h"

#include <cstdint>
#include <map>
#include <optional>

// The deadline a merge at now gives request's entry: a forced request's is never closer than the
// warning period, so that the user still sees the warning for a while before it runs by itself.
[[nodiscard]] std::optional<DateTime> MergedDeadline(const ActionRequest& request, DateTime now);

class ActionRequestStore {
 public:
  using Map = std::map<std::uint64_t, ActionRequest>;

  // Copies every record of the list in, in list order: a later record with an ID replaces every
  // field of an earlier one. now is the one reading of the clock the whole merge uses (the
  // caller's, so that its texts agree with the deadlines). Entries whose ID is not in the list
  // stay.
  void Merge(const PendingRequestList& requests, DateTime now);

  // Ascending ID.
  [[nodiscard]] Map::const_iterator begin() const noexcept { return requests_.begin(); }
  [[nodiscard]] Map::const_iterator end() const noexcept { return requests_.end(); }

 private:
  Map requests_;
};
