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

const Row kRows[] = {
    {EPERM, typeid(FilePermissionError), typeid(FilePermissionError), typeid(FilePermissionError),
     typeid(FilePermissionError)},
    {EACCES, typeid(FilePermissionError), typeid(FilePermissionError), typeid(FilePermissionError),
     typeid(FilePermissionError)},
    {ENOENT, typeid(FileNotFoundError), typeid(FileNotFoundError), typeid(FileNotFoundError),
     typeid(FileIOError)},
    {EIO, typeid(FileIOError), typeid(FileIOError), typeid(FileIOError), typeid(FileIOError)},
    {EAGAIN, typeid(FileLockError), typeid(FileLockError), typeid(FileLockError),
     typeid(FileIOError)},
    {ENOMEM, typeid(FileResourceError), typeid(FileResourceError), typeid(FileResourceError),
     typeid(FileIOError)},
    {EMFILE, typeid(FileResourceError), typeid(FileResourceError), typeid(FileResourceError),
     typeid(FileIOError)},
    {EEXIST, typeid(FileIOError), typeid(FileExistsError), typeid(FileExistsError),
     typeid(FileIOError)},
    {ENOTDIR, typeid(DirectoryNotFoundError), typeid(DirectoryNotFoundError),
     typeid(DirectoryNotFoundError), typeid(FileIOError)},
    {ENAMETOOLONG, typeid(DirectoryNotFoundError), typeid(DirectoryNotFoundError),
     typeid(DirectoryNotFoundError), typeid(FileIOError)},
    {EINVAL, typeid(FileIOError), typeid(FileIOError), typeid(FileSeekError),
     typeid(FileSeekError)},
    {ENOSPC, typeid(FileIOError), typeid(FileDiskFullError), typeid(FileDiskFullError),
     typeid(FileIOError)},
    {97, typeid(FileIOError), typeid(FileIOError), typeid(FileIOError), typeid(EndOfFileError)},
    {0, typeid(FileIOError), typeid(FileIOError), typeid(FileIOError), typeid(FileIOError)},
    {123456, typeid(FileIOError), typeid(FileIOError), typeid(FileIOError), typeid(FileIOError)},
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
