// The file errors: every failure of a file or folder operation, with the path it was about and
// the system error number. The readable text ("File error "file not found" on "/x" : ...") is
// composed on first request. The subclasses differ only in their type and words.
#pragma once

#include "foundation/platform/DebuggableException.h"
#include "foundation/text/AutoUString.h"

#include <cstdint>
#include <string>

class FileIOError : public DebuggableException {
 public:
  explicit FileIOError(std::uint32_t error) noexcept : error_(error) {}
  FileIOError(const AutoUString<UTF8>& path, std::uint32_t error) : error_(error), path_(path) {}

  [[nodiscard]] std::uint32_t error() const noexcept { return error_; }
  [[nodiscard]] const AutoUString<UTF8>& path() const noexcept { return path_; }

  // The composed text in the locale's encoding; the class's words alone when composing it
  // failed, for want of memory or of a locale that can spell the path.
  [[nodiscard]] const char* what() const noexcept override;

 protected:
  [[nodiscard]] const char* Description() const noexcept override { return "file error"; }

 private:
  std::uint32_t error_;
  AutoUString<UTF8> path_;  // empty when the error is about no file
  mutable std::string message_;
};

QVX_DECLARE_EXCEPTION(FilePermissionError, FileIOError, "permission denied");
QVX_DECLARE_EXCEPTION(FileNotFoundError, FileIOError, "file not found");
QVX_DECLARE_EXCEPTION(FileExistsError, FileIOError, "file exists");
QVX_DECLARE_EXCEPTION(FileLockError, FileIOError, "file locked");
QVX_DECLARE_EXCEPTION(FileResourceError, FileIOError, "out of file resources");
QVX_DECLARE_EXCEPTION(FileDiskFullError, FileIOError, "disk full");
QVX_DECLARE_EXCEPTION(FileSeekError, FileIOError, "invalid file position");
QVX_DECLARE_EXCEPTION(EndOfFileError, FileIOError, "end of file");
QVX_DECLARE_EXCEPTION(FileNotOpenError, FileIOError, "file not open");
QVX_DECLARE_EXCEPTION(DirectoryNotFoundError, FileIOError, "folder not found");
QVX_DECLARE_EXCEPTION(FileFoundError, FileIOError, "a file where a folder was wanted");
QVX_DECLARE_EXCEPTION(EmptyFileLocationError, FileIOError, "empty file location");
QVX_DECLARE_EXCEPTION(InvalidFileLocation, FileIOError, "invalid file location");
QVX_DECLARE_EXCEPTION(RootHasNoParent, FileIOError, "the root folder has no parent");
