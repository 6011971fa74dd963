#include "ui/TickClock.h"

#include "core/Session.h"
#include "core/TimerTick.h"
#include "core/WakePipe.h"
#include "ui/ToolkitCallback.h"
#include "ui/ToolkitContext.h"

namespace {

constexpr unsigned long kSecondMilliseconds = 1000;

}  // namespace

void TickClock::Start() {
  XtAppContext context = ApplicationContext();
  if (wake_.ReadEnd() != -1) {
    XtAppAddInput(context, wake_.ReadEnd(), reinterpret_cast<XtPointer>(XtInputReadMask),
                  PipeReadable, this);
  }
  session_.commands.SetWorkSignal(this);
  XtAppAddTimeOut(context, kSecondMilliseconds, SecondTimeOut, this);
  Raise();
}

void TickClock::Raise() noexcept {
  if (workArmed_) return;
  workArmed_ = true;
  XtAppAddTimeOut(ApplicationContext(), 0, WorkTimeOut, this);
}

void TickClock::SecondTimeOut(XtPointer data, XtIntervalId*) {
  auto& clock = *static_cast<TickClock*>(data);
  // A failure inside one tick must not stop the clock: the program would never tick again.
  Guarded([&clock] { TimerTick(clock.session_, TickCause::kSecond); });
  XtAppAddTimeOut(ApplicationContext(), kSecondMilliseconds, SecondTimeOut, data);
}

void TickClock::WorkTimeOut(XtPointer data, XtIntervalId*) {
  auto& clock = *static_cast<TickClock*>(data);
  // Cleared first: work queued while this tick runs arms the next one.
  clock.workArmed_ = false;
  Guarded([&clock] { TimerTick(clock.session_, TickCause::kWork); });
}

void TickClock::PipeReadable(XtPointer data, int*, XtInputId*) {
  auto& clock = *static_cast<TickClock*>(data);
  // Drained before the tick takes the queue: a push after this point raises the pipe again.
  clock.wake_.Drain();
  clock.Raise();
}
