// Write permission, ownership and free space of a file or folder.
#pragma once

#include "foundation/platform/FileLocation.h"

#include <sys/types.h>

#include <cstdint>

// Whether writing is refused (EACCES or EROFS); other failures throw.
[[nodiscard]] bool IsReadOnly(const FileLocation& location);
// readOnly false adds the write bits the umask allows; true removes all three. An empty location
// is left alone.
void SetReadOnly(const FileLocation& location, bool readOnly);
inline void SetWritable(const FileLocation& location, bool writable) {
  SetReadOnly(location, !writable);
}
void SetOwner(const FileLocation& location, uid_t user, gid_t group);
// Free bytes of the file system holding the location; the largest value when unknown.
[[nodiscard]] std::uint64_t FreeSpace(const FileLocation& location);
