#include "core/ActionRequestStore.h"

void ActionRequestStore::Merge(const PendingRequestList& requests, DateTime now) {
  // Every forced request of one merge gets the same limit: the user still sees the warning for
  // a while before the request runs by itself.
  const DateTime graceLimit = now + kDeadlineWarningPeriod;
  for (const ActionRequest& request : requests) {
    ActionRequest& entry = requests_[request.id];
    entry = request;
    if (entry.forceRun && entry.deadline && *entry.deadline < graceLimit) {
      entry.deadline = graceLimit;
    }
  }
}
