#include "core/Dispatcher.h"

void ProcessClientMessages() {
  // Incoming texts stay queued, in order, until the message vocabulary exists to apply them;
  // draining them here would lose what the client sent before start-up completes.
}
