// The pending requests by ID, each ID once, in ascending order: what the summary texts read.
// The dialog rebuilds it from the pending list whenever it updates, so it mirrors that list,
// except that a forced request's deadline is never shown closer than five minutes away.
#pragma once

#include "core/ActionRequest.h"
#include "foundation/platform/DebuggableException.h"
#include "text/time/DateTime.h"

#include <cstdint>
#include <map>
#include <vector>

// Find or Remove of an ID the store does not hold.
QVX_DECLARE_EXCEPTION(NoSuchActionRequestID, DebuggableException);

class ActionRequestStore {
 public:
  using Map = std::map<std::uint64_t, ActionRequest>;

  // How far ahead a forced request's deadline is moved at least, so that the user still sees
  // the warning for a while before the request runs by itself.
  static constexpr TimeInterval kForceRunGrace = 300 * kMicrosecondsPerSecond;

  [[nodiscard]] bool Contains(std::uint64_t id) const { return requests_.count(id) != 0; }
  [[nodiscard]] bool empty() const noexcept { return requests_.empty(); }
  [[nodiscard]] std::size_t size() const noexcept { return requests_.size(); }

  // Copies every request of the list in, in list order: a later request with an ID replaces
  // every field of an earlier one. Entries whose ID is not in the list stay.
  void Merge(const std::vector<ActionRequest>& requests);

  // Throws NoSuchActionRequestID.
  [[nodiscard]] const ActionRequest& Find(std::uint64_t id) const;
  void Remove(std::uint64_t id);

  // Ascending ID.
  [[nodiscard]] Map::const_iterator begin() const noexcept { return requests_.begin(); }
  [[nodiscard]] Map::const_iterator end() const noexcept { return requests_.end(); }

 private:
  Map requests_;
};
