// How the session's queues tell the main loop that work is waiting: the reader thread after it
// queues a client message or the link closes, a dialog callback after it posts an answer. The
// main loop then runs the tick at once instead of at the next second.
#pragma once

class WorkSignal {
 public:
  virtual ~WorkSignal() = default;
  // Called from any thread; never blocks. Raising twice before the work is taken is one wake-up.
  virtual void Raise() noexcept = 0;
};
