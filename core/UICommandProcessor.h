// Carries out the user's answers that the dialogs posted since the last tick: takes, cancels,
// snoozes, the confirmations a take needs first, and the sequence of confirmations of "Take All
// Actions". Main thread only; called by every timer tick.
#pragma once

class Session;

// Takes every posted command, oldest first. A command that fails is dropped on its own and the
// others still run.
void ProcessUICommands(Session& session);
