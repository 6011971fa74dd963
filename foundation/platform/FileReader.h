// Reads a file at a running position, one positioned system call per piece, no buffering; the
// path is borrowed. Also the two ways contents are read whole: into a DataReceiver, and the
// chunk loop the copy operations use.
#pragma once

#include "foundation/data/DataReader.h"
#include "foundation/data/DataReceiver.h"
#include "foundation/platform/FileReadingPath.h"

#include <cstddef>
#include <cstdint>

class FileReader : public DataReader {
 public:
  // From start to the size the file has now (or, for a stream, until a read finds nothing).
  explicit FileReader(UnixPlatform::FileReadingPath& path, std::uint64_t start = 0);

  [[nodiscard]] bool AtEnd() override;
  // Failures go through the reading mapping.
  char* Read(char* begin, char* end) override;
  [[nodiscard]] std::uint64_t Position() const noexcept { return position_; }

 private:
  // pread-like: seeks to `at` and reads; returns the count.
  std::size_t ReadAt(std::uint64_t at, char* begin, char* end);

  UnixPlatform::FileReadingPath& path_;
  std::uint64_t position_;
  std::uint64_t end_;
  // The byte AtEnd read from a stream of unknown size, handed out by the next Read.
  char lookahead_ = 0;
  bool hasLookahead_ = false;
};

// Hands the file's bytes from start to the receiver in chunks, then ends the stream.
void ReadFileInto(UnixPlatform::FileReadingPath& path, DataReceiver& receiver,
                  std::uint64_t start = 0);

// The chunks of a file from a start offset up to the size it had at the start, read into the
// caller's buffer: use Chunk(), then Advance() until Done(). A file that shrank meanwhile throws
// FileReadingLoopEndOfFileError; an empty one yields no chunk.
class FileReadingLoop {
 public:
  FileReadingLoop(char* buffer, std::size_t capacity, UnixPlatform::FileReadingPath& path,
                  std::uint64_t start = 0);

  [[nodiscard]] bool Done() const noexcept { return remaining_ == 0; }
  [[nodiscard]] const char* ChunkBegin() const noexcept { return buffer_; }
  [[nodiscard]] const char* ChunkEnd() const noexcept { return buffer_ + chunk_; }
  void Advance();

 private:
  void ReadChunk();

  char* buffer_;
  std::size_t capacity_;
  FileReader reader_;
  std::uint64_t remaining_;
  std::size_t chunk_ = 0;
};
