#include "foundation/platform/FileReadingPath.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/FileIOError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace UnixPlatform {

FileReadingPath::FileReadingPath(const FileLocation& location) { Open(location); }

FileReadingPath::~FileReadingPath() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

void FileReadingPath::Open(const FileLocation& location) {
  // Like every open, this one lets go of the file opened before, even when it fails.
  Close();
  if (location.IsEmpty()) throw FileIOError(location.DisplayText(), 0);
  OpenWith(location, O_RDONLY, Mapping::kGeneral);
}

void FileReadingPath::OpenWith(const FileLocation& location, int flags, Mapping mapping) {
  if (descriptor_ >= 0) Close();
  location_ = location;
  const std::string path = location.SystemPath();
  // O_CLOEXEC marks the descriptor in the same call, so no child started meanwhile inherits it.
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    const auto error = static_cast<std::uint32_t>(errno);
    if (mapping == Mapping::kWriting) ThrowFileWritingError(location.DisplayText(), error);
    ThrowFileError(location.DisplayText(), error);
  }
  descriptor_ = descriptor;
}

void FileReadingPath::Close() {
  if (descriptor_ < 0) return;
  const int descriptor = descriptor_;
  descriptor_ = -1;
  // After a failing close the descriptor is gone all the same; retrying could close another's.
  if (::close(descriptor) != 0 && errno != EINTR) {
    ThrowFileError(location_.DisplayText(), static_cast<std::uint32_t>(errno));
  }
}

std::uint64_t FileReadingPath::Size() const {
  if (descriptor_ < 0) throw FileNotOpenError(location_.DisplayText(), 0);
  const off_t current = ::lseek(descriptor_, 0, SEEK_CUR);
  // Pipes and terminals cannot seek at all: their size is unknown, not an error.
  if (current < 0 && errno == ESPIPE) return kUnknownSize;
  if (current < 0) ThrowFileError(location_.DisplayText(), static_cast<std::uint32_t>(errno));
  const off_t end = ::lseek(descriptor_, 0, SEEK_END);
  if (end < 0) {
    const int error = errno;
    if (error == EINVAL || error == ESPIPE) return kUnknownSize;
    ThrowFileError(location_.DisplayText(), static_cast<std::uint32_t>(error));
  }
  if (::lseek(descriptor_, current, SEEK_SET) < 0) {
    ThrowFileError(location_.DisplayText(), static_cast<std::uint32_t>(errno));
  }
  return static_cast<std::uint64_t>(end);
}

}  // namespace UnixPlatform
