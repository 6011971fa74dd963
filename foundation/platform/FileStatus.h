// What is at a location: a file or folder, a symbolic link to one, a dangling link, or nothing.
// Every operation that must tell these apart before acting asks GetStatus first.
#pragma once

#include "foundation/platform/FileLocation.h"

#include <sys/stat.h>

#include <cstdint>

struct FileStatus {
  enum State : std::uint32_t {
    kExists = 0,        // not a link: both records are the lstat record
    kLinkToTarget = 1,  // a link whose target exists: `target` is the target's stat record
    kDanglingLink = 2,  // a link to nothing: both records are zeroed
    kNothing = 3,       // lstat failed
  };
  std::uint32_t state = kNothing;
  struct stat target {};
  struct stat entry {};

  // A folder, directly or through a link; a dangling link is neither a folder nor a file.
  [[nodiscard]] bool IsDirectory() const noexcept;
  [[nodiscard]] bool Exists() const noexcept { return state != kNothing; }
};

// On kNothing, *error (when given) receives lstat's error number, else 0.
[[nodiscard]] FileStatus GetStatus(const FileLocation& location, std::uint32_t* error = nullptr);
[[nodiscard]] bool Exists(const FileLocation& location);
