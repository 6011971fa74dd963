#include "core/ActionRequestStore.h"

#include "text/time/Clock.h"

void ActionRequestStore::Merge(const std::vector<ActionRequest>& requests) {
  // One reading of the clock, so every forced request of one merge gets the same limit.
  const DateTime graceLimit = Now() + kForceRunGrace;
  for (const ActionRequest& request : requests) {
    ActionRequest& entry = requests_[request.id];
    entry = request;
    if (entry.forceRun && entry.deadline && *entry.deadline < graceLimit) {
      entry.deadline = graceLimit;
    }
  }
}

const ActionRequest& ActionRequestStore::Find(std::uint64_t id) const {
  const auto found = requests_.find(id);
  if (found == requests_.end()) throw NoSuchActionRequestID();
  return found->second;
}

void ActionRequestStore::Remove(std::uint64_t id) {
  if (requests_.erase(id) == 0) throw NoSuchActionRequestID();
}
