// The entries of one folder in alphasort order, "." and ".." left out (other dot names stay),
// optionally only those whose names match a pattern of "*" (any run) and "?" (any one
// character). Removing a folder's contents and copying a tree walk their folders with it.
#pragma once

#include "foundation/platform/DebuggableException.h"
#include "foundation/platform/FileLocation.h"
#include "foundation/platform/StandardExceptions.h"

#include <cstddef>
#include <cstdint>

struct dirent;

namespace UnixPlatform {

class FileLoop {
 public:
  QVX_DECLARE_EXCEPTION(InvalidIteratorPosition, DebuggableException,
                        "folder listing read past its end");

  // Options passed through at opening; removing contents passes all three.
  enum Flags : std::uint32_t {
    kNone = 0,
    kFiles = 1,
    kDirectories = 2,
    kHidden = 4,
    kAll = kFiles | kDirectories | kHidden,
  };

  FileLoop() = default;
  // Opens at once; see Open.
  FileLoop(const FileLocation& directory, const AutoUString<UTF8>& pattern,
           std::uint32_t flags = kAll);
  FileLoop(const FileLoop&) = delete;
  FileLoop& operator=(const FileLoop&) = delete;
  virtual ~FileLoop();

  // Lists the folder; a failing scan throws through the general mapping. An empty pattern keeps
  // every name. The pattern is matched against the name's UTF-8 text, or its bytes when the
  // folder is given as bytes.
  void Open(const FileLocation& directory, const AutoUString<UTF8>& pattern,
            std::uint32_t flags = kAll);
  void Close() noexcept;

  [[nodiscard]] std::size_t Count() const noexcept { return count_; }
  [[nodiscard]] bool AtEnd() const noexcept { return index_ >= count_; }
  // The current entry's name as the system gave it; FileLoopUninitialized before Open,
  // InvalidIteratorPosition past the end.
  [[nodiscard]] const char* CurrentSystemName() const;
  // The current entry as a location inside the folder (text when the folder is text).
  [[nodiscard]] FileLocation Current() const;
  void Advance() noexcept { ++index_; }

 private:
  FileLocation directory_;
  dirent** scanned_ = nullptr;  // every name scandir returned
  int scannedCount_ = 0;
  dirent** kept_ = nullptr;  // those the pattern kept, borrowed from scanned_
  std::size_t count_ = 0;
  std::size_t index_ = 0;
  std::uint32_t flags_ = kNone;
  bool open_ = false;
};

}  // namespace UnixPlatform

// "*" matches any run of bytes, none included; "?" any one character (one UTF-8 sequence for
// text, one byte for bytes); every other byte itself.
[[nodiscard]] bool MatchesNamePattern(const char* name, const char* nameEnd, const char* pattern,
                                      const char* patternEnd, bool asBytes = false) noexcept;
