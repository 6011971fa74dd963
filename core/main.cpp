// The program's entry: links to the client on the inherited pipes, announces itself, waits for
// the client's configuration, then runs the timer's tick once a second until the link closes.

#include "core/ClientLink.h"
#include "core/Dispatcher.h"
#include "core/DisplaylessDialogs.h"
#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/SessionQueues.h"
#include "core/SessionState.h"
#include "foundation/platform/Thread.h"
#include "ui/TimerTick.h"

#include <csignal>

namespace {

constexpr std::uint32_t kWorkerStackBytes = 0x80000;
constexpr std::uint32_t kProtocolVersion = 1;
constexpr std::uint32_t kStartupPollMilliseconds = 1000;
constexpr std::uint32_t kTickMilliseconds = 1000;

// Worker threads must get the larger stack whoever starts the first one, so the minimum is set
// during static initialisation rather than in main.
const bool workerStackSet = (SetMinimumThreadStackSize(kWorkerStackBytes), true);

// Check, sleep, dispatch, until the client's InitializationInfo has been applied. There is no
// time-out: the program waits as long as the client keeps the link open.
void WaitForInitialization() {
  while (!sessionState.initialized) {
    if (clientLink != nullptr && clientLink->IsClosed()) ExitApplication(0, "CLOSED");
    SleepMilliseconds(kStartupPollMilliseconds);
    ProcessClientMessages();
  }
}

// The tick once a second for the rest of the run, with no window to show; the program ends
// through ExitApplication when the client closes the link.
[[noreturn]] void RunWithoutDisplay() {
  for (;;) {
    SleepMilliseconds(kTickMilliseconds);
    TimerTick(nullptr);
  }
}

}  // namespace

int main(int argumentCount, char** argumentVector) {
  (void)workerStackSet;
  (void)argumentCount;
  (void)argumentVector;
  // A client that goes away while the writer is in write(2) must end the link, not the process.
  std::signal(SIGPIPE, SIG_IGN);

  static DisplaylessDialogs displaylessDialogs;
  SetDialogOperations(&displaylessDialogs);

  clientLink = new ClientLink(incomingQueue, outgoingQueue);
  clientLink->AddRef();
  // A thread that failed to start is simply absent; its line is already on standard error.
  (void)clientLink->Start(0, 1);

  // The program does not tell its process number.
  SendReadyForData(kProtocolVersion, kProtocolVersion, kProtocolVersion, kProtocolVersion, 0);

  WaitForInitialization();
  RunWithoutDisplay();
}
