#include "foundation/platform/FileReader.h"

#include "foundation/platform/FileErrorMapping.h"

#include <unistd.h>

#include <cerrno>

FileReader::FileReader(UnixPlatform::FileReadingPath& path, std::uint64_t start)
    : path_(path), position_(start), end_(path.Size()) {}

std::size_t FileReader::ReadAt(std::uint64_t at, char* begin, char* end) {
  const int descriptor = path_.Descriptor();
  for (;;) {
    ssize_t count = -1;
    // A stream cannot seek; it is read where it stands.
    if (end_ == UnixPlatform::FileReadingPath::kUnknownSize ||
        ::lseek(descriptor, static_cast<off_t>(at), SEEK_SET) >= 0) {
      count = ::read(descriptor, begin, static_cast<std::size_t>(end - begin));
    }
    if (count >= 0) return static_cast<std::size_t>(count);
    if (errno != EINTR) {
      ThrowFileReadingError(path_.Location().DisplayText(), static_cast<std::uint32_t>(errno));
    }
  }
}

bool FileReader::AtEnd() {
  if (end_ != UnixPlatform::FileReadingPath::kUnknownSize) return position_ >= end_;
  // Only a read tells whether a stream has more; the byte it finds is kept for the next Read.
  if (!hasLookahead_) hasLookahead_ = ReadAt(position_, &lookahead_, &lookahead_ + 1) == 1;
  return !hasLookahead_;
}

char* FileReader::Read(char* begin, char* end) {
  if (begin == end) return begin;
  char* out = begin;
  if (hasLookahead_) {
    *out++ = lookahead_;
    hasLookahead_ = false;
    ++position_;
  }
  const std::size_t count = out == end ? 0 : ReadAt(position_, out, end);
  position_ += count;
  return out + count;
}

void ReadFileInto(UnixPlatform::FileReadingPath& path, DataReceiver& receiver,
                  std::uint64_t start) {
  FileReader reader(path, start);
  char chunk[65536];
  receiver.StartData(start);
  while (!reader.AtEnd()) {
    char* const filled = reader.Read(chunk, chunk + sizeof chunk);
    if (filled == chunk) break;
    receiver.Receive(chunk, filled);
  }
  receiver.EndData();
}
