#include "tools/tap/ProgramProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Both ends close on exec: the program must hold only the ends it is given as 0 and 1, or it
// would never see end of file.
void MakePipe(int ends[2], const char* what) {
  if (pipe(ends) != 0) throw ProgramStartError(what, errno);
  fcntl(ends[0], F_SETFD, FD_CLOEXEC);
  fcntl(ends[1], F_SETFD, FD_CLOEXEC);
}

void CloseBoth(const int ends[2]) {
  close(ends[0]);
  close(ends[1]);
}

// In the child: moves a pipe end onto a standard descriptor, without close-on-exec.
void PlaceOn(int fd, int standard) {
  if (fd == standard) {
    fcntl(fd, F_SETFD, 0);
  } else {
    dup2(fd, standard);
  }
}

}  // namespace

RunningProgram StartProgram(const std::string& path, char* const argv[], void (*inChild)()) {
  int toProgram[2], fromProgram[2], execReport[2];
  MakePipe(toProgram, "cannot make the input pipe");
  try {
    MakePipe(fromProgram, "cannot make the output pipe");
  } catch (...) {
    CloseBoth(toProgram);
    throw;
  }
  try {
    MakePipe(execReport, "cannot make the start pipe");
  } catch (...) {
    CloseBoth(toProgram);
    CloseBoth(fromProgram);
    throw;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    PlaceOn(toProgram[0], 0);
    PlaceOn(fromProgram[1], 1);
    if (inChild != nullptr) inChild();
    execv(path.c_str(), argv);
    const int error = errno;
    while (write(execReport[1], &error, sizeof error) < 0 && errno == EINTR) {
    }
    _exit(127);
  }
  const int forkError = errno;
  close(toProgram[0]);
  close(fromProgram[1]);
  close(execReport[1]);
  if (pid < 0) {
    close(toProgram[1]);
    close(fromProgram[0]);
    close(execReport[0]);
    throw ProgramStartError("cannot start a process", forkError);
  }
  // The report pipe closes on exec: end of file means the program runs.
  int execError = 0;
  ssize_t got;
  do {
    got = read(execReport[0], &execError, sizeof execError);
  } while (got < 0 && errno == EINTR);
  close(execReport[0]);
  if (got > 0) {
    waitpid(pid, nullptr, 0);
    close(toProgram[1]);
    close(fromProgram[0]);
    throw ProgramStartError("cannot run the program", execError);
  }
  return {pid, toProgram[1], fromProgram[0]};
}
