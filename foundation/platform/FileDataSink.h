// The end of a byte pipeline that writes the stream into a file from a start position and
// flushes it to disk when the stream ends. The path is borrowed: opening it before
// and closing it after the stream are the owner's business.
#pragma once

#include "foundation/data/DataReceiver.h"
#include "foundation/platform/FileWriter.h"
#include "foundation/platform/FileWritingPath.h"

#include <cstdint>

class FileDataSink : public DataReceiver {
 public:
  explicit FileDataSink(UnixPlatform::FileWritingPath& path, std::uint64_t start = 0) noexcept
      : path_(path), start_(start), writer_(path, start) {}

  void StartData(std::uint64_t position) override;
  void Receive(const char* begin, const char* end) override;
  // A write that threw never gets here, so a failed stream is not synced.
  void EndData() override;

 private:
  UnixPlatform::FileWritingPath& path_;
  std::uint64_t start_;
  FileWriter writer_;
};
