#include "core/ActionRequestStore.h"

std::optional<DateTime> MergedDeadline(const ActionRequest& request, DateTime now) {
  const DateTime graceLimit = now + kDeadlineWarningPeriod;
  if (request.forceRun && request.deadline && *request.deadline < graceLimit) return graceLimit;
  return request.deadline;
}

void ActionRequestStore::Merge(const PendingRequestList& requests, DateTime now) {
  // Every forced request of one merge gets the same limit: now is read once, by the caller.
  for (const ActionRequest& request : requests) {
    ActionRequest& entry = requests_[request.id];
    entry = request;
    entry.deadline = MergedDeadline(request, now);
  }
}
