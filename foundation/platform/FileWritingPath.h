// An open file for reading and writing: the reading path with the four writing opens (files are
// created with mode 0666 under the umask) and the flush to disk. The Base64 support files are
// written through one.
#pragma once

#include "foundation/platform/FileReadingPath.h"

namespace UnixPlatform {

class FileWritingPath : public FileReadingPath {
 public:
  enum class Opening {
    kOpenExisting,      // update a file that must exist
    kCreateNew,         // a new file; an existing one throws FileExistsError
    kOpenOrCreate,      // update or start a file
    kCreateOrTruncate,  // replace a file's contents
  };

  FileWritingPath() = default;
  // Builds the path and opens it the given way.
  FileWritingPath(const FileLocation& location, Opening opening);

  // Closes what was open first; failures go through the writing mapping.
  void Open(const FileLocation& location, Opening opening);
  using FileReadingPath::Open;

  // fsync; failure goes through the writing mapping.
  void Sync();
};

}  // namespace UnixPlatform
