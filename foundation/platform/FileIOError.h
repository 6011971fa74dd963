// The file errors: every failure of a file or folder operation, with the path or paths it was
// about and the system error number. The readable text ("File error ... on ... : ...") is
// composed on first request. The subclasses differ only in their type.
#pragma once

#include "foundation/platform/DebuggableException.h"
#include "foundation/text/AutoUString.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class FileIOError : public DebuggableException {
 public:
  struct Detail {
    std::uint32_t error = 0;       // errno, 0 when there is none
    AutoUString<UTF8> path;        // empty when the error is about no file
    AutoUString<UTF8> secondPath;  // the other file of a move or copy
    AutoUString<UTF8> message;     // the composed text, empty until asked for
    std::string narrowMessage;     // message in the locale's encoding
  };

  explicit FileIOError(std::uint32_t error);
  FileIOError(const AutoUString<UTF8>& path, std::uint32_t error);
  FileIOError(const AutoUString<UTF8>& path, const AutoUString<UTF8>& secondPath,
              std::uint32_t error);
  FileIOError(const FileIOError& other);
  FileIOError& operator=(const FileIOError& other);
  ~FileIOError() override;

  [[nodiscard]] std::uint32_t error() const noexcept { return detail_->error; }
  [[nodiscard]] const AutoUString<UTF8>& path() const noexcept { return detail_->path; }
  [[nodiscard]] const AutoUString<UTF8>& secondPath() const noexcept { return detail_->secondPath; }

  // The composed text in the locale's encoding; the bare type name if composing it failed.
  [[nodiscard]] const char* what() const noexcept override;
  // The composed text in UTF-8; the bare type name if composing it failed.
  [[nodiscard]] ByteRange text() const noexcept override;

 private:
  // Fills message and narrowMessage; false (and both left empty) when anything failed.
  bool Compose() const noexcept;

  std::unique_ptr<Detail> detail_;
};

QVX_DECLARE_EXCEPTION(FilePermissionError, FileIOError);
QVX_DECLARE_EXCEPTION(FileNotFoundError, FileIOError);
QVX_DECLARE_EXCEPTION(FileExistsError, FileIOError);
QVX_DECLARE_EXCEPTION(FileLockError, FileIOError);
QVX_DECLARE_EXCEPTION(FileResourceError, FileIOError);
QVX_DECLARE_EXCEPTION(FileDiskFullError, FileIOError);
QVX_DECLARE_EXCEPTION(FileSeekError, FileIOError);
QVX_DECLARE_EXCEPTION(EndOfFileError, FileIOError);
QVX_DECLARE_EXCEPTION(FileNotOpenError, FileIOError);
QVX_DECLARE_EXCEPTION(DirectoryNotFoundError, FileIOError);
QVX_DECLARE_EXCEPTION(FileFoundError, FileIOError);
QVX_DECLARE_EXCEPTION(EmptyFileLocationError, FileIOError);
QVX_DECLARE_EXCEPTION(InvalidFileLocation, FileIOError);
QVX_DECLARE_EXCEPTION(InvalidStats, FileIOError);
QVX_DECLARE_EXCEPTION(RootHasNoParent, FileIOError);
