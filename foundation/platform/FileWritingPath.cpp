#include "foundation/platform/FileWritingPath.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/FileIOError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace UnixPlatform {

namespace {

int FlagsFor(FileWritingPath::Opening opening) {
  switch (opening) {
    case FileWritingPath::Opening::kOpenExisting:
      return O_RDWR;
    case FileWritingPath::Opening::kCreateNew:
      return O_RDWR | O_CREAT | O_EXCL;
    case FileWritingPath::Opening::kOpenOrCreate:
      return O_RDWR | O_CREAT;
    case FileWritingPath::Opening::kCreateOrTruncate:
      return O_RDWR | O_CREAT | O_TRUNC;
  }
  return O_RDWR;
}

}  // namespace

FileWritingPath::FileWritingPath(const FileLocation& location, Opening opening) {
  Open(location, opening);
}

void FileWritingPath::Open(const FileLocation& location, Opening opening) {
  OpenWith(location, FlagsFor(opening), Mapping::kWriting);
}

void FileWritingPath::Sync() {
  if (::fsync(Descriptor()) != 0) {
    ThrowFileWritingError(Location().DisplayText(), static_cast<std::uint32_t>(errno));
  }
}

}  // namespace UnixPlatform
