#include "foundation/platform/TempFiles.h"

#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileOperations.h"
#include "foundation/platform/FileStatus.h"
#include "foundation/text/LocaleConversion.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr std::size_t kTemplateBytes = 1024;

// The template directory + "/" + prefix + "XXXXXX" as a system path in a NUL-terminated buffer.
struct NameTemplate {
  char buffer[kTemplateBytes];

  NameTemplate(const FileLocation& directory, const AutoUString<UTF8>& prefix,
               std::uint32_t error) {
    std::string path = directory.SystemPath();
    path += '/';
    path += UTF8ToLocale(prefix.begin(), prefix.end());
    path += "XXXXXX";
    if (path.size() >= kTemplateBytes) throw CreateUniqueFileLocationFailed(error);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
  }

  // The made name as a location of the same kind as the directory.
  [[nodiscard]] FileLocation Result(const FileLocation& directory) const {
    if (directory.IsBinary()) return FileLocation::FromBytes(BinaryString(buffer));
    return FileLocation(LocaleToUTF8(buffer));
  }
};

FileLocation FolderOf(const FileLocation& location) {
  return GetStatus(location).IsDirectory() ? location : Parent(location);
}

}  // namespace

FileLocation CreateUniqueFile(const FileLocation& directory, const AutoUString<UTF8>& prefix) {
  NameTemplate name(directory, prefix, 0);
  const int descriptor = ::mkostemp(name.buffer, O_CLOEXEC);
  if (descriptor < 0) throw CreateUniqueFileLocationFailed(0);
  ::close(descriptor);
  return name.Result(directory);
}

FileLocation CreateUniqueDirectory(const FileLocation& directory, const AutoUString<UTF8>& prefix) {
  NameTemplate name(directory, prefix, 1);
  // mkdtemp is mktemp and mkdir 0700 without the window between them.
  if (!::mkdtemp(name.buffer)) throw CreateUniqueFileLocationFailed(1);
  return name.Result(directory);
}

FileLocation CreateUniqueFifo(const FileLocation& location, const AutoUString<UTF8>& prefix) {
  const FileLocation name = CreateUniqueFile(FolderOf(location), prefix);
  ForceNonexistence(name);
  CreateFifo(name, 0666);
  return name;
}

FileLocation TempDirectory() {
  static const FileLocation directory("/var/tmp/");
  return directory;
}

FileLocation UniqueTempFile(const AutoUString<UTF8>& prefix) {
  ForceDirectoryPath(TempDirectory());
  return CreateUniqueFile(TempDirectory(), prefix);
}

FileLocation UniqueTempFifo(const AutoUString<UTF8>& prefix) {
  ForceDirectoryPath(TempDirectory());
  return CreateUniqueFifo(TempDirectory(), prefix);
}

bool TryUniqueTempFile(const AutoUString<UTF8>& prefix, FileLocation& result) {
  try {
    result = UniqueTempFile(prefix.empty() ? AutoUString<UTF8>("vantrel") : prefix);
    return true;
  } catch (...) {
    return false;
  }
}

FileLocation NewTempName() {
  ForceDirectoryPath(TempDirectory());
  const FileLocation name = CreateUniqueFile(TempDirectory(), AutoUString<UTF8>("temp"));
  ForceNonexistence(name);
  return name;
}

FileLocation NewTempNameNear(const FileLocation& location) {
  const FileLocation name = CreateUniqueFile(FolderOf(location), AutoUString<UTF8>("temp"));
  ForceNonexistence(name);
  return name;
}
