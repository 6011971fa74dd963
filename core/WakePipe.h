// A self-pipe that carries the work signal from the link's threads to the main thread: a raise
// writes one byte, the main thread sleeps on the read end (poll before the toolkit runs, the
// toolkit's input watch after) and drains it before taking the work.
#pragma once

#include "core/WorkSignal.h"

class WakePipe final : public WorkSignal {
 public:
  WakePipe() noexcept = default;
  ~WakePipe() override;
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  // Makes the pipe, both ends non-blocking and closed on exec; false when the system refuses,
  // and the pipe then stays without descriptors: raises do nothing and waits only time out.
  [[nodiscard]] bool Open() noexcept;
  // The end the main thread watches; -1 before a successful Open.
  [[nodiscard]] int ReadEnd() const noexcept { return readEnd_; }

  // Writes one byte; a full pipe already holds a wake-up, so a refused write loses nothing.
  void Raise() noexcept override;
  // Sleeps until a raise or the timeout, in milliseconds; true when raised. Leaves the bytes in
  // the pipe: Drain takes them.
  [[nodiscard]] bool Wait(int timeoutMilliseconds) const noexcept;
  // Reads every byte written so far, so the next wait sleeps until the next raise.
  void Drain() const noexcept;

 private:
  int readEnd_ = -1;
  int writeEnd_ = -1;
};
