// The dispatcher: turns the texts that the client link queued for the session into session
// state and events for the view. Runs on the main thread only: once a second during start-up,
// then from every timer tick.
#pragma once

class Session;

// Applies every message of every queued text, in order. A text that fails (ill-formed, a bad
// value, a folder that cannot be written) is dropped with the rest of its batch; what was
// applied before it stays. Never throws. After InitializationInfo it returns at once and keeps
// the texts that followed for its next call.
void ProcessClientMessages(Session& session);
