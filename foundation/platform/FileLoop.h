// The entries of one folder in alphasort order, "." and ".." left out (other dot names stay).
// Emptying a folder walks it with one.
#pragma once

#include "foundation/platform/DebuggableException.h"
#include "foundation/platform/FileLocation.h"

#include <cstddef>

struct dirent;

namespace UnixPlatform {

class FileLoop {
 public:
  QVX_DECLARE_EXCEPTION(InvalidIteratorPosition, DebuggableException,
                        "folder listing read past its end");

  // Lists the folder at once; a failing scan throws through the general mapping.
  explicit FileLoop(const FileLocation& directory);
  FileLoop(const FileLoop&) = delete;
  FileLoop& operator=(const FileLoop&) = delete;
  ~FileLoop();

  [[nodiscard]] bool AtEnd() const noexcept { return index_ >= count_; }
  // The current entry as a location inside the folder: text when the folder is text and the
  // locale reads the name, else bytes. InvalidIteratorPosition past the end.
  [[nodiscard]] FileLocation Current() const;
  void Advance() noexcept { ++index_; }

 private:
  FileLocation directory_;
  dirent** entries_ = nullptr;  // as scandir returned them
  std::size_t count_ = 0;
  std::size_t index_ = 0;
};

}  // namespace UnixPlatform
