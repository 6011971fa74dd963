#include "foundation/platform/FileWriter.h"

#include "foundation/platform/FileErrorMapping.h"

#include <unistd.h>

#include <cerrno>

FileWriter& FileWriter::Write(const char* begin, const char* end) {
  const int descriptor = path_->Descriptor();
  while (begin != end) {
    ssize_t written = -1;
    if (::lseek(descriptor, static_cast<off_t>(position_), SEEK_SET) >= 0) {
      written = ::write(descriptor, begin, static_cast<std::size_t>(end - begin));
    }
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowFilePositioningError(path_->Location().DisplayText(), static_cast<std::uint32_t>(errno));
    }
    position_ += static_cast<std::uint64_t>(written);
    begin += written;
  }
  return *this;
}
