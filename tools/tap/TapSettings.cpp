#include "tools/tap/TapSettings.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>

namespace {

std::string ResolvedFolder(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return "";
  std::string folder = resolved;
  return folder.substr(0, folder.rfind('/') + 1);
}

std::string ReadSmallFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string text;
  // A configuration file is one line; more is not read.
  char buffer[4096];
  file.read(buffer, sizeof buffer);
  text.assign(buffer, static_cast<std::size_t>(file.gcount()));
  return text;
}

}  // namespace

std::string OwnFolder(const char* argv0, const char* pathVariable) {
  if (argv0 == nullptr || *argv0 == '\0') return "";
  const std::string name = argv0;
  if (name.find('/') != std::string::npos) return ResolvedFolder(name);
  std::string_view search = pathVariable != nullptr ? pathVariable : "";
  for (;;) {
    const std::size_t colon = search.find(':');
    std::string folder(search.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + '/' + name;
    if (access(candidate.c_str(), X_OK) == 0) return ResolvedFolder(candidate);
    if (colon == std::string_view::npos) return "";
    search.remove_prefix(colon + 1);
  }
}

std::string TranscriptPathFromConfig(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r";
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    const std::size_t first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos || line[first] == '#') continue;
    line = line.substr(first);
    return std::string(line.substr(0, line.find_last_not_of(kBlanks) + 1));
  }
  return "";
}

TapSettings FindSettings(const char* argv0) {
  const std::string folder = OwnFolder(argv0, std::getenv("PATH"));
  TapSettings settings;
  const char* program = std::getenv(kProgramVariable);
  settings.programPath = program != nullptr && *program != '\0' ? program : folder + kProgramName;
  if (const char* transcript = std::getenv(kTranscriptVariable)) {
    settings.transcriptPath = transcript;
  } else if (!folder.empty()) {
    settings.transcriptPath = TranscriptPathFromConfig(ReadSmallFile(folder + kConfigName));
  }
  return settings;
}
