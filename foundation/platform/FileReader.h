// Reads a file at a running position, one positioned system call per piece, no buffering; the
// path is borrowed. Also how contents are read whole: into a DataReceiver.
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
