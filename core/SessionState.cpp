#include "core/SessionState.h"

#include <algorithm>

SessionState sessionState;

void AppendPendingRequest(const ActionRequest& request) {
  PendingRequestList& pending = sessionState.pendingRequests;
  pending.push_back(request);
  pending.back().arrival = sessionState.nextArrival++;
}

PendingRequestList::iterator FindPendingRequest(std::uint64_t id) {
  PendingRequestList& pending = sessionState.pendingRequests;
  return std::find_if(pending.begin(), pending.end(),
                      [id](const ActionRequest& request) { return request.id == id; });
}

PendingRequestList::iterator FindPendingArrival(std::uint64_t arrival) {
  PendingRequestList& pending = sessionState.pendingRequests;
  return std::find_if(pending.begin(), pending.end(), [arrival](const ActionRequest& request) {
    return request.arrival == arrival;
  });
}

bool RemovePendingRequest(std::uint64_t id) {
  const PendingRequestList::iterator found = FindPendingRequest(id);
  if (found == sessionState.pendingRequests.end()) return false;
  sessionState.pendingRequests.erase(found);
  return true;
}
