#include "foundation/platform/FileOperations.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileLoop.h"
#include "foundation/platform/FileReader.h"
#include "foundation/platform/FileStatus.h"
#include "foundation/platform/FileWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

[[noreturn]] void ThrowErrno(const FileLocation& location) {
  ThrowFileError(location.DisplayText(), static_cast<std::uint32_t>(errno));
}

void Check(int result, const FileLocation& location) {
  if (result != 0) ThrowErrno(location);
}

// The single attempts; the retrying operations below run them on the schedule.

void CreateFileOnce(const FileLocation& location, mode_t mode) {
  if (location.IsEmpty()) throw FileCreateFailed(location.DisplayText(), 0);
  if (Exists(location)) throw FileFoundError(location.DisplayText(), 0);
  const std::string path = location.SystemPath();
  std::FILE* file = std::fopen(path.c_str(), "we");
  if (!file) ThrowErrno(location);
  if (std::fclose(file) != 0) ThrowErrno(location);
  if (mode != 0666) Check(::chmod(path.c_str(), mode), location);
}

void CreateDirectoryOnce(const FileLocation& location, mode_t mode) {
  if (location.IsEmpty()) throw DirectoryCreateFailed(location.DisplayText(), 0);
  if (Exists(location)) throw DirectoryFoundError(location.DisplayText(), 0);
  Check(::mkdir(location.SystemPath().c_str(), mode), location);
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

void ForceDirectoryExistenceOnce(const FileLocation& location, mode_t mode) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  const FileStatus status = GetStatus(location);
  if (status.IsDirectory()) return;
  if (status.Exists()) throw FileFoundError(location.DisplayText(), 0);
  Check(::mkdir(location.SystemPath().c_str(), mode), location);
}

// Real folders are emptied and removed; everything else, links to folders included, is
// unlinked, so nothing outside the folder is ever touched.
void RemoveContents(const FileLocation& directory) {
  if (!GetStatus(directory).Exists()) throw InvalidStats(0);
  UnixPlatform::FileLoop loop(directory, AutoUString<UTF8>(), UnixPlatform::FileLoop::kAll);
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

void DeleteContentsOnce(const FileLocation& location) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  const FileStatus status = GetStatus(location);
  if (!status.Exists()) return;
  if (!status.IsDirectory()) throw DirectoryNotFoundError(location.DisplayText(), 0);
  RemoveContents(location);
}

void DeleteRecursiveOnce(const FileLocation& location) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  const FileStatus status = GetStatus(location);
  if (!status.Exists()) return;
  if (!status.IsDirectory()) throw DirectoryNotFoundError(location.DisplayText(), 0);
  // A link to a folder is the link only: its target's contents are not ours to remove.
  if (status.state == FileStatus::kExists) RemoveContents(location);
  DeleteDirectoryOnce(location);
}

void CopyContents(const FileLocation& from, const FileLocation& to) {
  UnixPlatform::FileReadingPath source(from);
  UnixPlatform::FileWritingPath destination(to, UnixPlatform::FileWritingPath::Opening::kCreateNew);
  const auto buffer = std::make_unique<char[]>(65536);
  FileWriter writer(destination, 0);
  for (FileReadingLoop loop(buffer.get(), 65536, source); !loop.Done(); loop.Advance()) {
    writer.Write(loop.ChunkBegin(), loop.ChunkEnd());
  }
  destination.Close();
  source.Close();
}

void CopyFileOnce(const FileLocation& from, const FileLocation& to) {
  if (!GetStatus(from).IsRegularFile()) throw FileNotFoundError(from.DisplayText(), 0);
  if (Exists(to)) throw FileExistsError(to.DisplayText(), 0);
  CopyContents(from, to);
}

void CopyTree(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  ForceDirectoryPath(to);
  UnixPlatform::FileLoop loop(from, AutoUString<UTF8>(), UnixPlatform::FileLoop::kAll);
  for (; !loop.AtEnd(); loop.Advance()) {
    const FileLocation entry = loop.Current();
    const FileLocation target = Child(to, Name(entry));
    if (GetStatus(entry).IsDirectory()) {
      CopyTree(entry, target, log);
    } else {
      CopyFile(entry, target, log);
    }
  }
}

void MoveFileOnce(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  if (!Exists(from)) throw FileNotFoundError(from.DisplayText(), 0);
  if (from.IsEmpty()) throw EmptyFileLocationError(from.DisplayText(), 0);
  if (to.IsEmpty()) throw EmptyFileLocationError(to.DisplayText(), 0);
  if (Exists(to)) throw FileFoundError(to.DisplayText(), 0);
  if (::rename(from.SystemPath().c_str(), to.SystemPath().c_str()) == 0) return;
  if (errno != EXDEV) {
    throw FileMoveError(from.DisplayText(), to.DisplayText(), static_cast<std::uint32_t>(errno));
  }
  const FileStatus status = GetStatus(from);
  if (!status.Exists()) throw InvalidStats(0);
  if (status.IsRegularFile()) {
    CopyFile(from, to, log);
    DeleteFile(from, log);
  } else if (status.IsDirectory()) {
    CopyTree(from, to, log);
    DeleteRecursive(from, log);
  }
}

void ForceMoveFileOnce(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  if (!Exists(from)) throw FileNotFoundError(from.DisplayText(), 0);
  if (Exists(to)) {
    const FileStatus source = GetStatus(from);
    const FileStatus destination = GetStatus(to);
    if (!source.Exists() || !destination.Exists()) throw InvalidStats(0);
    if (source.IsRegularFile() != destination.IsRegularFile()) {
      throw DirectoryFoundError((source.IsRegularFile() ? to : from).DisplayText(), 0);
    }
    ForceNonexistenceOnce(to);
  }
  MoveFileOnce(from, to, log);
}

void ForceCopyFileOnce(const FileLocation& from, const FileLocation& to) {
  if (!GetStatus(from).IsRegularFile()) throw FileNotFoundError(from.DisplayText(), 0);
  ForceNonexistenceOnce(to);
  CopyContents(from, to);
}

}  // namespace

void CreateFile(const FileLocation& location, mode_t mode, FileRetryLog& log) {
  RetryFileOperation("CreateFile", location, nullptr, log, [&] { CreateFileOnce(location, mode); });
}
void CreateDirectory(const FileLocation& location, mode_t mode, FileRetryLog& log) {
  RetryFileOperation("CreateDirectory", location, nullptr, log,
                     [&] { CreateDirectoryOnce(location, mode); });
}
void DeleteDirectory(const FileLocation& location, FileRetryLog& log) {
  RetryFileOperation("DeleteDirectory", location, nullptr, log,
                     [&] { DeleteDirectoryOnce(location); });
}
void DeleteFile(const FileLocation& location, FileRetryLog& log) {
  RetryFileOperation("DeleteFile", location, nullptr, log, [&] { DeleteFileOnce(location); });
}
void MoveFile(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  RetryFileOperation("MoveFile", from, &to, log, [&] { MoveFileOnce(from, to, log); });
}
void CopyFile(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  RetryFileOperation("CopyFile", from, &to, log, [&] { CopyFileOnce(from, to); });
}
void ForceDirectoryExistence(const FileLocation& location, FileRetryLog& log) {
  RetryFileOperation("ForceDirectoryExistence", location, nullptr, log,
                     [&] { ForceDirectoryExistenceOnce(location, 0777); });
}
void ForceDirectoryExistenceWithInfo(const FileLocation& location, mode_t mode, FileRetryLog& log) {
  RetryFileOperation("ForceDirectoryExistenceWithInfo", location, nullptr, log,
                     [&] { ForceDirectoryExistenceOnce(location, mode); });
}
void ForceNonexistence(const FileLocation& location, FileRetryLog& log) {
  RetryFileOperation("ForceNonexistence", location, nullptr, log,
                     [&] { ForceNonexistenceOnce(location); });
}
void ForceMoveFile(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  RetryFileOperation("ForceMoveFile", from, &to, log, [&] { ForceMoveFileOnce(from, to, log); });
}
void ForceCopyFile(const FileLocation& from, const FileLocation& to, FileRetryLog& log) {
  RetryFileOperation("ForceCopyFile", from, &to, log, [&] { ForceCopyFileOnce(from, to); });
}
void DeleteContents(const FileLocation& location, FileRetryLog& log) {
  RetryFileOperation("DeleteContents", location, nullptr, log,
                     [&] { DeleteContentsOnce(location); });
}
void DeleteRecursive(const FileLocation& location, FileRetryLog& log) {
  RetryFileOperation("DeleteRecursive", location, nullptr, log,
                     [&] { DeleteRecursiveOnce(location); });
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
  ForceDirectoryExistenceOnce(location, 0777);
}

void CreateDirectoryNow(const FileLocation& location) {
  Check(::mkdir(location.SystemPath().c_str(), 0777), location);
}
void DeleteContentsNow(const FileLocation& location) { DeleteContentsOnce(location); }
void DeleteRecursiveNow(const FileLocation& location) { DeleteRecursiveOnce(location); }

void CreateFifo(const FileLocation& location, mode_t mode) {
  if (location.IsEmpty()) throw FileCreateFailed(location.DisplayText(), 0);
  if (Exists(location)) throw FileFoundError(location.DisplayText(), 0);
  Check(::mkfifo(location.SystemPath().c_str(), mode), location);
}
