// The program's entry: links to the client on the inherited pipes, announces itself, waits for
// the client's configuration, then hands over to the toolkit, whose timer does the rest.

#include "core/ClientLink.h"
#include "core/Dispatcher.h"
#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/SessionQueues.h"
#include "core/SessionState.h"
#include "foundation/platform/Thread.h"
#include "ui/UserInterface.h"
#include "ui/XDialogs.h"

#include <csignal>

namespace {

constexpr std::uint32_t kWorkerStackBytes = 0x80000;
constexpr std::uint32_t kProtocolVersion = 1;
constexpr std::uint32_t kStartupPollMilliseconds = 1000;

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

}  // namespace

int main(int argumentCount, char** argumentVector) {
  (void)workerStackSet;
  // A client that goes away while the writer is in write(2) must end the link, not the process.
  std::signal(SIGPIPE, SIG_IGN);

  static XDialogs dialogs;
  SetDialogOperations(&dialogs);

  clientLink = new ClientLink(incomingQueue, outgoingQueue);
  clientLink->AddRef();
  // A thread that failed to start is simply absent; its line is already on standard error.
  (void)clientLink->Start(0, 1);

  // The program does not tell its process number.
  SendReadyForData(kProtocolVersion, kProtocolVersion, kProtocolVersion, kProtocolVersion, 0);

  WaitForInitialization();
  RunUserInterface(argumentCount, argumentVector);
  if (clientLink->Release() == 0) delete clientLink;
  return 0;
}
