#include "foundation/platform/FileReader.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/StandardExceptions.h"

#include <unistd.h>

#include <algorithm>
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

FileReadingLoop::FileReadingLoop(char* buffer, std::size_t capacity,
                                 UnixPlatform::FileReadingPath& path, std::uint64_t start)
    : buffer_(buffer), capacity_(capacity), reader_(path, start) {
  const std::uint64_t size = path.Size();
  remaining_ = size > start ? size - start : 0;
  if (remaining_ != 0) ReadChunk();
}

void FileReadingLoop::ReadChunk() {
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, capacity_));
  chunk_ = 0;
  while (chunk_ < wanted) {
    char* const filled = reader_.Read(buffer_ + chunk_, buffer_ + wanted);
    if (filled == buffer_ + chunk_) throw FileReadingLoopEndOfFileError();
    chunk_ = static_cast<std::size_t>(filled - buffer_);
  }
}

void FileReadingLoop::Advance() {
  remaining_ -= chunk_;
  chunk_ = 0;
  if (remaining_ != 0) ReadChunk();
}
