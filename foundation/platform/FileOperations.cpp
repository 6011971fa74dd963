#include "foundation/platform/FileOperations.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileLoop.h"
#include "foundation/platform/FileStatus.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// The folder being emptied went away under the walk.
QVX_DECLARE_EXCEPTION(InvalidStats, FileIOError, "folder gone while it was emptied");

[[noreturn]] void ThrowErrno(const FileLocation& location) {
  ThrowFileError(location.DisplayText(), static_cast<std::uint32_t>(errno));
}

void Check(int result, const FileLocation& location) {
  if (result != 0) ThrowErrno(location);
}

void DeleteFileOnce(const FileLocation& location) {
  if (location.IsEmpty()) throw FileNotFoundError(location.DisplayText(), 0);
  Check(::unlink(location.SystemPath().c_str()), location);
}

void DeleteDirectoryOnce(const FileLocation& location) {
  const FileStatus status = GetStatus(location);
  if (!status.IsDirectory()) throw DirectoryNotFoundError(location.DisplayText(), 0);
  const std::string path = location.SystemPath();
  // A link to a folder is removed as a link; the folder it names stays.
  if (status.state == FileStatus::kLinkToTarget) {
    Check(::unlink(path.c_str()), location);
  } else {
    Check(::rmdir(path.c_str()), location);
  }
}

void ForceNonexistenceOnce(const FileLocation& location) {
  const FileStatus status = GetStatus(location);
  if (!status.Exists()) return;
  if (status.IsDirectory()) {
    DeleteDirectoryOnce(location);
  } else {
    DeleteFileOnce(location);
  }
}

void ForceDirectoryExistence(const FileLocation& location) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  const FileStatus status = GetStatus(location);
  if (status.IsDirectory()) return;
  if (status.Exists()) throw FileFoundError(location.DisplayText(), 0);
  Check(::mkdir(location.SystemPath().c_str(), 0777), location);
}

// Real folders are emptied and removed; everything else, links to folders included, is
// unlinked, so nothing outside the folder is ever touched.
void RemoveContents(const FileLocation& directory) {
  if (!GetStatus(directory).Exists()) throw InvalidStats(0);
  UnixPlatform::FileLoop loop(directory);
  for (; !loop.AtEnd(); loop.Advance()) {
    const FileLocation entry = loop.Current();
    const FileStatus status = GetStatus(entry);
    if (!status.Exists()) continue;
    if (status.state == FileStatus::kExists && status.IsDirectory()) {
      RemoveContents(entry);
      DeleteDirectoryOnce(entry);
    } else {
      ForceNonexistenceOnce(entry);
    }
  }
}

}  // namespace

void DeleteContentsNow(const FileLocation& location) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  const FileStatus status = GetStatus(location);
  if (!status.Exists()) return;
  if (!status.IsDirectory()) throw DirectoryNotFoundError(location.DisplayText(), 0);
  RemoveContents(location);
}

void ForceDirectoryPath(const FileLocation& location) {
  const FileStatus status = GetStatus(location);
  if (status.IsDirectory()) return;
  if (status.Exists()) throw FileFoundError(location.DisplayText(), 0);
  if (!location.IsRoot()) {
    // A relative name without "/" has no parent to make: it is made where it stands.
    bool hasParent = true;
    FileLocation parent;
    try {
      parent = Parent(location);
    } catch (const InvalidFileLocation&) {
      hasParent = false;
    }
    if (hasParent) ForceDirectoryPath(parent);
  }
  ForceDirectoryExistence(location);
}
