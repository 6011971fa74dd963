// An open file for reading: the location and its descriptor. Every read and write is a system
// call at an explicit offset, so there is no buffer here and several objects may use one file
// without disturbing each other's positions. FileWritingPath adds the writing opens.
#pragma once

#include "foundation/platform/FileLocation.h"

#include <cstdint>
#include <limits>

namespace UnixPlatform {

class FileReadingPath {
 public:
  // What Size reports for a pipe, a terminal or any stream without an end to seek to.
  static constexpr std::uint64_t kUnknownSize = std::numeric_limits<std::uint64_t>::max();

  FileReadingPath() = default;
  // Opens location for reading.
  explicit FileReadingPath(const FileLocation& location);
  FileReadingPath(const FileReadingPath&) = delete;
  FileReadingPath& operator=(const FileReadingPath&) = delete;
  // Closes an open descriptor; a failing close is ignored here.
  virtual ~FileReadingPath();

  // Read only. Closes what was open first; the empty location throws FileIOError (location, 0).
  virtual void Open(const FileLocation& location);
  // A failing close throws; the path is closed either way.
  void Close();

  [[nodiscard]] int Descriptor() const noexcept { return descriptor_; }
  [[nodiscard]] const FileLocation& Location() const noexcept { return location_; }
  // kUnknownSize for a descriptor that cannot seek (a pipe, a terminal); the offset is kept.
  // FileNotOpenError when nothing is open.
  [[nodiscard]] std::uint64_t Size() const;

 protected:
  // Opens with the system flags and mode, always close-on-exec; a failure goes through the
  // general mapping when reading, else through the writing mapping.
  enum class Mapping { kGeneral, kWriting };
  void OpenWith(const FileLocation& location, int flags, Mapping mapping);

 private:
  FileLocation location_;
  int descriptor_ = -1;
};

}  // namespace UnixPlatform
