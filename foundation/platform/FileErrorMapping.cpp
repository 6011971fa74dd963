#include "foundation/platform/FileErrorMapping.h"

#include "foundation/platform/FileIOError.h"

#include <cerrno>

namespace {

// The reading table's end-of-file number has no symbolic name on the target system.
constexpr std::uint32_t kEndOfFileErrno = 97;

enum class Mapping { General, Writing, Positioning, Reading };

// Each row function throws the class its table gives for the error and never returns.
struct Failure {
  const AutoUString<UTF8>& path;
  std::uint32_t error;

  template <class Error>
  [[noreturn]] void Raise() const {
    throw Error(path, error);
  }
};

[[noreturn]] void ThrowGeneral(const Failure& failure) {
  switch (failure.error) {
    case EPERM:
    case EACCES:
      failure.Raise<FilePermissionError>();
    case ENOENT:
      failure.Raise<FileNotFoundError>();
    case EAGAIN:
      failure.Raise<FileLockError>();
    case ENOMEM:
    case ENFILE:
    case EMFILE:
      failure.Raise<FileResourceError>();
    case ENOTDIR:
    case ENAMETOOLONG:
      failure.Raise<DirectoryNotFoundError>();
    default:
      failure.Raise<FileIOError>();
  }
}

[[noreturn]] void ThrowWriting(const Failure& failure) {
  switch (failure.error) {
    case EEXIST:
      failure.Raise<FileExistsError>();
    case ENOSPC:
      failure.Raise<FileDiskFullError>();
    default:
      ThrowGeneral(failure);
  }
}

[[noreturn]] void ThrowPositioning(const Failure& failure) {
  if (failure.error == EINVAL) failure.Raise<FileSeekError>();
  ThrowWriting(failure);
}

[[noreturn]] void ThrowReading(const Failure& failure) {
  switch (failure.error) {
    case EPERM:
    case EACCES:
      failure.Raise<FilePermissionError>();
    case EINVAL:
      failure.Raise<FileSeekError>();
    case kEndOfFileErrno:
      failure.Raise<EndOfFileError>();
    default:
      failure.Raise<FileIOError>();
  }
}

[[noreturn]] void Throw(Mapping mapping, const AutoUString<UTF8>& path, std::uint32_t error) {
  const Failure failure{path, error};
  switch (mapping) {
    case Mapping::General:
      ThrowGeneral(failure);
    case Mapping::Writing:
      ThrowWriting(failure);
    case Mapping::Positioning:
      ThrowPositioning(failure);
    case Mapping::Reading:
      ThrowReading(failure);
  }
  failure.Raise<FileIOError>();
}

}  // namespace

void ThrowFileError(const AutoUString<UTF8>& path, std::uint32_t error) {
  Throw(Mapping::General, path, error);
}
void ThrowFileWritingError(const AutoUString<UTF8>& path, std::uint32_t error) {
  Throw(Mapping::Writing, path, error);
}
void ThrowFilePositioningError(const AutoUString<UTF8>& path, std::uint32_t error) {
  Throw(Mapping::Positioning, path, error);
}
void ThrowFileReadingError(const AutoUString<UTF8>& path, std::uint32_t error) {
  Throw(Mapping::Reading, path, error);
}
