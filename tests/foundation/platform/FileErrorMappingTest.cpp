#include "foundation/platform/FileErrorMapping.h"

#include <cerrno>
#include <typeinfo>

#include <gtest/gtest.h>

#include "foundation/platform/FileIOError.h"

namespace {

using Thrower = void (*)(const AutoUString<UTF8>&, std::uint32_t);

// The class each mapping throws for one errno.
struct Row {
  int error;
  const std::type_info& general;
  const std::type_info& writing;
  const std::type_info& positioning;
  const std::type_info& reading;
};

const std::type_info& kIO = typeid(FileIOError);
const std::type_info& kPermission = typeid(FilePermissionError);
const std::type_info& kNotFound = typeid(FileNotFoundError);
const std::type_info& kLock = typeid(FileLockError);
const std::type_info& kResource = typeid(FileResourceError);
const std::type_info& kExists = typeid(FileExistsError);
const std::type_info& kNoDirectory = typeid(DirectoryNotFoundError);
const std::type_info& kSeek = typeid(FileSeekError);
const std::type_info& kDiskFull = typeid(FileDiskFullError);

const Row kRows[] = {
    {EPERM, kPermission, kPermission, kPermission, kPermission},
    {EACCES, kPermission, kPermission, kPermission, kPermission},
    {ENOENT, kNotFound, kNotFound, kNotFound, kIO},
    {EIO, kIO, kIO, kIO, kIO},
    {EAGAIN, kLock, kLock, kLock, kIO},
    {ENOMEM, kResource, kResource, kResource, kIO},
    {EMFILE, kResource, kResource, kResource, kIO},
    {EEXIST, kIO, kExists, kExists, kIO},
    {ENOTDIR, kNoDirectory, kNoDirectory, kNoDirectory, kIO},
    {ENAMETOOLONG, kNoDirectory, kNoDirectory, kNoDirectory, kIO},
    {EINVAL, kIO, kIO, kSeek, kSeek},
    {ENOSPC, kIO, kDiskFull, kDiskFull, kIO},
    {97, kIO, kIO, kIO, typeid(EndOfFileError)},
    {0, kIO, kIO, kIO, kIO},
    {123456, kIO, kIO, kIO, kIO},
};

// Runs a mapping and returns the class it threw, checking that the path and number came along.
const std::type_info& ThrownBy(Thrower thrower, int error) {
  const AutoUString<UTF8> path("/var/tmp/x");
  try {
    thrower(path, static_cast<std::uint32_t>(error));
  } catch (const FileIOError& thrown) {
    EXPECT_EQ(thrown.path(), path);
    EXPECT_TRUE(thrown.secondPath().empty());
    EXPECT_EQ(thrown.error(), static_cast<std::uint32_t>(error));
    return typeid(thrown);
  }
  ADD_FAILURE() << "the mapping returned";
  return typeid(void);
}

TEST(FileErrorMapping, EachMappingThrowsTheClassOfItsTable) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.error);
    EXPECT_EQ(ThrownBy(ThrowFileError, row.error), row.general);
    EXPECT_EQ(ThrownBy(ThrowFileWritingError, row.error), row.writing);
    EXPECT_EQ(ThrownBy(ThrowFilePositioningError, row.error), row.positioning);
    EXPECT_EQ(ThrownBy(ThrowFileReadingError, row.error), row.reading);
  }
}

TEST(FileErrorMapping, TwoPathFormCarriesBothPaths) {
  const AutoUString<UTF8> from("/a/from"), to("/b/to");
  try {
    ThrowFileWritingError(from, to, ENOSPC);
  } catch (const FileDiskFullError& thrown) {
    EXPECT_EQ(thrown.path(), from);
    EXPECT_EQ(thrown.secondPath(), to);
  }
}

}  // namespace
