// The session variables that the dispatcher fills from the client's messages. Touched only on
// the main thread, so nothing here is locked.
#pragma once

struct SessionState {
  // The client's InitializationInfo has been applied; start-up waits for it.
  bool initialized = false;
};

extern SessionState sessionState;
