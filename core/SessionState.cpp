#include "core/SessionState.h"

#include <algorithm>

void SessionState::AppendPendingRequest(const ActionRequest& request) {
  pendingRequests.push_back(request);
  pendingRequests.back().arrival = nextArrival++;
}

namespace {

template <typename List>
auto FindArrival(List& pending, std::uint64_t arrival) {
  return std::find_if(pending.begin(), pending.end(), [arrival](const ActionRequest& request) {
    return request.arrival == arrival;
  });
}

}  // namespace

PendingRequestList::iterator SessionState::FindPendingArrival(std::uint64_t arrival) {
  return FindArrival(pendingRequests, arrival);
}

PendingRequestList::const_iterator SessionState::FindPendingArrival(std::uint64_t arrival) const {
  return FindArrival(pendingRequests, arrival);
}

bool SessionState::RemovePendingRequest(std::uint64_t id) {
  const auto found = std::find_if(pendingRequests.begin(), pendingRequests.end(),
                                  [id](const ActionRequest& request) { return request.id == id; });
  if (found == pendingRequests.end()) return false;
  pendingRequests.erase(found);
  return true;
}
