#include "foundation/platform/FilePermissions.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/FileIOError.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

namespace {

[[noreturn]] void ThrowErrno(const FileLocation& location) {
  ThrowFileError(location.DisplayText(), static_cast<std::uint32_t>(errno));
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

bool IsReadOnly(const FileLocation& location) {
  if (location.IsEmpty()) throw EmptyFileLocationError(location.DisplayText(), 0);
  if (::access(location.SystemPath().c_str(), W_OK) == 0) return false;
  if (errno == EACCES || errno == EROFS) return true;
  ThrowErrno(location);
}

void SetReadOnly(const FileLocation& location, bool readOnly) {
  if (location.IsEmpty()) return;
  const std::string path = location.SystemPath();
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) ThrowErrno(location);
  const mode_t mode = status.st_mode & 07777;
  const mode_t wanted = readOnly ? (mode & ~0222) : ((mode | 0222) & ~CurrentUmask());
  if (::chmod(path.c_str(), wanted) != 0) ThrowErrno(location);
}

void SetOwner(const FileLocation& location, uid_t user, gid_t group) {
  if (::chown(location.SystemPath().c_str(), user, group) != 0) ThrowErrno(location);
}

std::uint64_t FreeSpace(const FileLocation& location) {
  constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();
  struct statvfs info {};
  if (::statvfs(location.SystemPath().c_str(), &info) != 0) return kUnknown;
  const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  const std::uint64_t blocks = info.f_bfree;
  const std::uint64_t size = info.f_frsize;
  if (size != 0 && blocks > limit / size) return kUnknown;
  return blocks * size;
}
