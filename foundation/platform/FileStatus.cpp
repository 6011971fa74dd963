#include "foundation/platform/FileStatus.h"

#include <cerrno>

namespace {

bool HasType(const FileStatus& status, mode_t type) noexcept {
  return (status.state == FileStatus::kExists || status.state == FileStatus::kLinkToTarget) &&
         (status.target.st_mode & S_IFMT) == type;
}

}  // namespace

bool FileStatus::IsDirectory() const noexcept { return HasType(*this, S_IFDIR); }

FileStatus GetStatus(const FileLocation& location, std::uint32_t* error) {
  const std::string path = location.SystemPath();
  FileStatus status;
  if (error) *error = 0;
  if (::lstat(path.c_str(), &status.entry) != 0) {
    if (error) *error = static_cast<std::uint32_t>(errno);
    status.entry = {};
    status.state = FileStatus::kNothing;
    return status;
  }
  if (!S_ISLNK(status.entry.st_mode)) {
    status.target = status.entry;
    status.state = FileStatus::kExists;
    return status;
  }
  if (::stat(path.c_str(), &status.target) == 0) {
    status.state = FileStatus::kLinkToTarget;
  } else {
    status.target = {};
    status.entry = {};
    status.state = FileStatus::kDanglingLink;
  }
  return status;
}

bool Exists(const FileLocation& location) { return GetStatus(location).Exists(); }
