#include "core/ActionRequestStore.h"

#include "text/time/Clock.h"

void ActionRequestStore::Merge(const PendingRequestList& requests) {
  // One reading of the clock, so every forced request of one merge gets the same limit: the
  // user still sees the warning for a while before the request runs by itself.
  const DateTime graceLimit = Now() + kDeadlineWarningPeriod;
  for (const ActionRequest& request : requests) {
    ActionRequest& entry = requests_[request.id];
    entry = request;
    if (entry.forceRun && entry.deadline && *entry.deadline < graceLimit) {
      entry.deadline = graceLimit;
    }
  }
}
