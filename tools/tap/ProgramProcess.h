// Starts the program the tap stands in for, with its standard input and output on pipes whose
// other ends the tap keeps; standard error and the environment are the tap's own.
#pragma once

#include <sys/types.h>

#include <stdexcept>
#include <string>

// The program could not be started: pipes or a process could not be made, or exec failed.
class ProgramStartError : public std::runtime_error {
 public:
  ProgramStartError(const std::string& what, int error) : std::runtime_error(what), error_(error) {}
  [[nodiscard]] int error() const noexcept { return error_; }

 private:
  int error_;
};

struct RunningProgram {
  pid_t pid = -1;
  // The tap writes the program's standard input here and reads its standard output there.
  int input = -1;
  int output = -1;
};

// Runs `path` with `argv` (argv[0] first, null-terminated). `inChild` runs in the new process
// just before exec, to hand the program the signal dispositions the tap was given; it must be
// async-signal-safe. Returns once exec has succeeded; throws ProgramStartError otherwise.
[[nodiscard]] RunningProgram StartProgram(const std::string& path, char* const argv[],
                                          void (*inChild)());
