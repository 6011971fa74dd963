// qvxclientui-xlatcheck FILE...: checks translation and branding files as qvxclientui would load
// them. Exit status 0 when nothing was found, 1 when something was, 2 when a file could not be
// read (or none was named).
#include "foundation/platform/FileIOError.h"
#include "tools/xlatcheck/TranslationChecker.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Write(const std::string& text, std::FILE* stream) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Write("usage: qvxclientui-xlatcheck FILE...\n", stderr);
    return 2;
  }
  TranslationChecker checker;
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    try {
      if (checker.CheckFile(path) != 0 && status == 0) status = 1;
      Write(checker.TakeReport(), stdout);
    } catch (const FileIOError& error) {
      // The system's own words say more here than the error's type does.
      const std::string reason =
          error.error() != 0 ? std::strerror(static_cast<int>(error.error())) : "unreadable";
      Write("qvxclientui-xlatcheck: " + path + ": cannot read: " + reason + "\n", stderr);
      status = 2;
    }
  }
  return status;
}
