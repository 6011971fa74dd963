// The program's entry, and the one place that knows both the session core and the toolkit:
// links to the client on the inherited pipes, announces itself, waits for the client's
// configuration, then hands the session over to the toolkit, whose tick does the rest.

#include "core/ClientLink.h"
#include "core/Dispatcher.h"
#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/OutgoingQueue.h"
#include "core/Session.h"
#include "core/WakePipe.h"
#include "foundation/platform/Thread.h"
#include "ui/UserInterface.h"
#include "ui/XDialogs.h"

#include <csignal>

namespace {

constexpr std::uint32_t kWorkerStackBytes = 0x80000;
constexpr std::uint32_t kProtocolVersion = 1;
constexpr int kStartupPollMilliseconds = 1000;

// Worker threads must get the larger stack whoever starts the first one, so the minimum is set
// during static initialisation rather than in main.
const bool workerStackSet = (SetMinimumThreadStackSize(kWorkerStackBytes), true);

// Check, wait, dispatch, until the client's InitializationInfo has been applied. The wait lasts
// a second at most and ends as soon as the reader queues a message or the link closes. There is
// no time-out: the program waits as long as the client keeps the link open.
void WaitForInitialization(Session& session, ClientLink& link, WakePipe& wake) {
  while (!session.state.initialized) {
    if (link.IsClosed()) ExitApplication(0, "CLOSED");
    if (wake.Wait(kStartupPollMilliseconds)) wake.Drain();
    ProcessClientMessages(session);
  }
}

}  // namespace

int main(int argumentCount, char** argumentVector) {
  (void)workerStackSet;
  // A client that goes away while the writer is in write(2) must end the link, not the process.
  std::signal(SIGPIPE, SIG_IGN);

  // The link and the queue its reader fills are never destroyed: the program ends with _exit
  // while the link's threads still run.
  MessageQueue& incoming = *new MessageQueue;
  // Wakes the main thread when the reader queues a message; without it the main thread still
  // looks once a second.
  WakePipe& wake = *new WakePipe;
  if (wake.Open()) incoming.SetWorkSignal(&wake);
  ClientLink& link = *new ClientLink(incoming, outgoingQueue);
  link.AddRef();
  // A thread that failed to start is simply absent; its line is already on standard error.
  (void)link.Start(0, 1);

  // Static, not on the stack: the program ends with _exit from inside the toolkit's loop, and
  // the X error handlers may run while this frame is being left.
  static XDialogs dialogs;
  static Session session(incoming, dialogs, &link);
  dialogs.Attach(session);

  // The program does not tell its process number.
  SendReadyForData(kProtocolVersion, kProtocolVersion, kProtocolVersion, kProtocolVersion, 0);

  WaitForInitialization(session, link, wake);
  // The toolkit's loop ends only through ExitApplication.
  RunUserInterface(session, wake, argumentCount, argumentVector);
}
