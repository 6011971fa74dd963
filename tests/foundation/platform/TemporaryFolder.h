// A fresh folder under the system's temporary folder for one test, removed with everything in it
// (links are removed, never followed) when the test ends.
#pragma once

#include "foundation/platform/FileLocation.h"
#include "foundation/platform/FileOperations.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

class TemporaryFolder {
 public:
  TemporaryFolder() {
    char pattern[] = "/tmp/qvxfilesXXXXXX";
    path_ = ::mkdtemp(pattern) ? pattern : "";
  }
  ~TemporaryFolder() {
    if (path_.empty()) return;
    DeleteContentsNow(Location());
    ::rmdir(path_.c_str());
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  [[nodiscard]] std::string Path(const std::string& relative = "") const {
    return relative.empty() ? path_ : path_ + "/" + relative;
  }
  [[nodiscard]] FileLocation Location(const std::string& relative = "") const {
    return FileLocation(Path(relative).c_str());
  }

 private:
  std::string path_;
};

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
