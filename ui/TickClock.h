// What runs the session's tick inside the toolkit's loop: a time-out once a second, and a
// zero time-out armed whenever work is waiting (a message queued by the reader thread, which
// wakes the loop through the wake pipe's read end, or an answer posted by a dialog callback).
// Idle, the program wakes once a second.
#pragma once

#include "core/WorkSignal.h"

#include <X11/Intrinsic.h>

class Session;
class WakePipe;

class TickClock final : public WorkSignal {
 public:
  TickClock(Session& session, WakePipe& wake) noexcept : session_(session), wake_(wake) {}
  TickClock(const TickClock&) = delete;
  TickClock& operator=(const TickClock&) = delete;

  // Arms the clock, watches the pipe and runs a first tick at once, for whatever came with the
  // client's configuration. The session's dialog answers raise this clock from then on.
  void Start();

  // Arms the immediate tick, once however often it is raised before it runs. Main thread only:
  // the dialogs' callbacks raise it; other threads go through the pipe.
  void Raise() noexcept override;

 private:
  static void SecondTimeOut(XtPointer clock, XtIntervalId* id);
  static void WorkTimeOut(XtPointer clock, XtIntervalId* id);
  static void PipeReadable(XtPointer clock, int* fd, XtInputId* id);

  Session& session_;
  WakePipe& wake_;
  bool workArmed_ = false;
};
