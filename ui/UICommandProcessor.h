// Carries out the user's answers that the dialogs posted since the last tick: takes, cancels,
// snoozes, the confirmations a take needs first, and the sequence of confirmations of "Take All
// Actions". Main thread only; called by every timer tick.
#pragma once

#include <cstdint>

// Where a "Take All Actions" stands while a confirmation is open. The cursor is the arrival
// number of the request being confirmed, not its ID (IDs repeat) nor its position (the list
// changes while the user reads): the search goes on with the first pending request that arrived
// after it, whether or not that request is still there.
struct TakeAllSequence {
  bool inProgress = false;
  std::uint64_t cursor = 0;
};

extern TakeAllSequence takeAllSequence;

// Takes every posted command, oldest first. A command that fails is dropped on its own and the
// others still run.
void ProcessUICommands();
