// Where the tap finds the program it stands in for and the transcript it writes. The command
// line is the program's, so both come from the environment or from beside the tap's binary.
#pragma once

#include <string>
#include <string_view>

constexpr const char* kProgramVariable = "QVX_TAP_PROGRAM";
constexpr const char* kTranscriptVariable = "QVX_TAP_TRANSCRIPT";
constexpr const char* kProgramName = "qvxclientui";
constexpr const char* kConfigName = "qvxclientui-tap.conf";

struct TapSettings {
  std::string programPath;
  // Empty when no transcript is configured.
  std::string transcriptPath;
};

// The folder of the running binary, symbolic links resolved: from argv[0] when it names a
// path, else from a search of PATH; empty when neither finds it.
[[nodiscard]] std::string OwnFolder(const char* argv0, const char* pathVariable);
// The transcript path of the configuration file's text: its first line that is neither blank
// nor a "#" comment, without surrounding blanks; empty when there is none.
[[nodiscard]] std::string TranscriptPathFromConfig(std::string_view text);
// The program: QVX_TAP_PROGRAM when set and not empty, else qvxclientui in the tap's folder.
// The transcript: QVX_TAP_TRANSCRIPT when set (empty turns it off), else the configuration
// file in the tap's folder.
[[nodiscard]] TapSettings FindSettings(const char* argv0);
