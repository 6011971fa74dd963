// Writes bytes into a file at a running position, one positioned system call per piece, no
// buffering. The path is borrowed and must outlive the writer.
#pragma once

#include "foundation/data/DataReceiver.h"
#include "foundation/platform/FileWritingPath.h"

#include <cstdint>

class FileWriter : public DataWriter {
 public:
  FileWriter(UnixPlatform::FileWritingPath& path, std::uint64_t position) noexcept
      : path_(&path), position_(position) {}

  // Writes every byte, continuing after short writes; a failure throws through the positioning
  // mapping (a full disk is FileDiskFullError) and leaves what was written in the file.
  FileWriter& Write(const char* begin, const char* end) override;

  void Reset(UnixPlatform::FileWritingPath& path, std::uint64_t position) noexcept {
    path_ = &path;
    position_ = position;
  }
  [[nodiscard]] std::uint64_t Position() const noexcept { return position_; }

 private:
  UnixPlatform::FileWritingPath* path_;
  std::uint64_t position_;
};
