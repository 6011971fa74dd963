// qvxclientui-tap: stands in for qvxclientui between the client and the program, relays every
// frame both ways unchanged and appends a transcript of them to a file. Its arguments and
// environment are the program's; its exit status is the program's, a death by a signal
// included. It writes nothing to standard error, as the program does not.
#include "tools/tap/ProgramProcess.h"
#include "tools/tap/Relay.h"
#include "tools/tap/TapSettings.h"
#include "tools/tap/Transcript.h"
#include "tools/tap/TranscriptFormat.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// The program reads frames up to this length and ends the link on a longer one.
constexpr std::uint32_t kFrameLimit = 2097152;

// Signals meant for the program reach the tap, which the client took for it: they are passed
// on, so that the program ends as it would have, and the tap after it.
constexpr int kForwardedSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2};

constexpr std::size_t kForwardedCount = sizeof kForwardedSignals / sizeof kForwardedSignals[0];

// Globals, as signal handlers and the child before exec can reach nothing else: the program's
// process id once it runs, and the dispositions and mask the tap was given, which the program
// gets back.
volatile sig_atomic_t programPid = 0;
struct sigaction givenPipeAction;
struct sigaction givenActions[kForwardedCount];
sigset_t givenMask;

void Forward(int signal) {
  if (programPid > 0) kill(programPid, signal);
}

sigset_t ForwardedSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kForwardedSignals) sigaddset(&set, signal);
  return set;
}

// In the child before exec.
void RestoreSignals() {
  sigaction(SIGPIPE, &givenPipeAction, nullptr);
  for (std::size_t i = 0; i < kForwardedCount; ++i) {
    sigaction(kForwardedSignals[i], &givenActions[i], nullptr);
  }
  pthread_sigmask(SIG_SETMASK, &givenMask, nullptr);
}

// A signal the tap was told to ignore stays ignored, for the program too.
void InstallForwarding() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = Forward;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kForwardedCount; ++i) {
    sigaction(kForwardedSignals[i], nullptr, &givenActions[i]);
    if (givenActions[i].sa_handler != SIG_IGN) sigaction(kForwardedSignals[i], &action, nullptr);
  }
}

void Enter(Transcript& transcript, std::string entry) {
  transcript.Post([entry = std::move(entry)] { return entry; }, 0);
}

// Ends the tap the way the program ended.
[[noreturn]] void EndLike(int waitStatus) {
  if (WIFSIGNALED(waitStatus)) {
    const int signal = WTERMSIG(waitStatus);
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal);
  }
  // _exit: the client's direction may still be blocked in a read that nothing will end.
  _exit(WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 1);
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe must come back as EPIPE, not end the tap.
  struct sigaction ignore;
  std::memset(&ignore, 0, sizeof ignore);
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &givenPipeAction);

  // Blocked from before any thread starts until the program's id is known, so that no signal
  // meant for the program is taken by a thread that cannot pass it on yet.
  const sigset_t forwarded = ForwardedSet();
  pthread_sigmask(SIG_BLOCK, &forwarded, &givenMask);

  const TapSettings settings = FindSettings(argc > 0 ? argv[0] : nullptr);
  const long tapPid = static_cast<long>(getpid());
  Transcript transcript(settings.transcriptPath, tapPid);

  std::vector<char*> programArguments;
  programArguments.push_back(const_cast<char*>(settings.programPath.c_str()));
  std::vector<std::string> shownArguments;
  for (int i = 1; i < argc; ++i) {
    programArguments.push_back(argv[i]);
    shownArguments.push_back(argv[i]);
  }
  programArguments.push_back(nullptr);

  InstallForwarding();
  RunningProgram program;
  try {
    program = StartProgram(settings.programPath, programArguments.data(), RestoreSignals);
  } catch (const ProgramStartError& error) {
    Enter(transcript,
          ProgramNotStartedEntry(OriginNow(tapPid), settings.programPath,
                                 std::string(error.what()) + ": " + std::strerror(error.error())));
    transcript.Flush();
    // _exit: the transcript's writer may still wait on a reader that stalls.
    _exit(127);
  }
  programPid = program.pid;
  pthread_sigmask(SIG_SETMASK, &givenMask, nullptr);
  Enter(transcript,
        ProgramStartedEntry(OriginNow(tapPid), program.pid, settings.programPath, shownArguments));

  std::thread toProgram(RelayDirection,
                        RelayEnds{STDIN_FILENO, program.input, Direction::ClientToProgram},
                        kFrameLimit, std::ref(transcript), tapPid);
  std::thread toClient(RelayDirection,
                       RelayEnds{program.output, STDOUT_FILENO, Direction::ProgramToClient},
                       kFrameLimit, std::ref(transcript), tapPid);

  // Waited for unreaped first: until the forwarding stops, a signal must reach this program
  // and not a process that took its id after it was reaped.
  siginfo_t endedInfo;
  while (waitid(P_PID, static_cast<id_t>(program.pid), &endedInfo, WEXITED | WNOWAIT) < 0 &&
         errno == EINTR) {
  }
  programPid = 0;
  int status = 0;
  while (waitpid(program.pid, &status, 0) < 0 && errno == EINTR) {
  }
  const EntryOrigin ended = OriginNow(tapPid);
  // What the program wrote before it ended still goes to the client; its end is entered after
  // that, so that a session's transcript closes with it.
  toClient.join();
  Enter(transcript, ProgramEndedEntry(ended, status));
  transcript.Flush();
  toProgram.detach();
  EndLike(status);
}
