// Files: path arithmetic; operations on a real folder (status, emptying, making a folder path,
// folder loops); and opening, writing and reading files.
#include "foundation/platform/FileOperations.h"

#include "foundation/data/VectorAppender.h"
#include "foundation/platform/FileDataSink.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileLocation.h"
#include "foundation/platform/FileLoop.h"
#include "foundation/platform/FileReader.h"
#include "foundation/platform/FileStatus.h"
#include "foundation/platform/FileWriter.h"
#include "foundation/platform/FileWritingPath.h"
#include "foundation/platform/StandardExceptions.h"
#include "tests/foundation/platform/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string Str(const AutoUString<UTF8>& text) { return std::string(text.begin(), text.end()); }

std::string Path(const FileLocation& location) {
  return location.IsBinary() ? std::string(location.Bytes().begin(), location.Bytes().end())
                             : Str(location.Text());
}

TEST(FileLocation, PathArithmetic) {
  struct Row {
    const char* path;
    const char* name;  // the argument of Child
    const char* child;
    const char* parent;  // "!root", "!invalid" for the exception
  } rows[] = {
      {"/var/tmp/", "/x/", "/var/tmp/x", "/var"},
      {"/", "etc", "/etc", "!root"},
      {"/a", "b//", "/a/b", "/"},
      {"a/b", "c", "a/b/c", "a"},
      {"plain", "c", "plain/c", "!invalid"},
      {"/a//b", "", "/a//b/", "/a/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    const FileLocation location(row.path);
    EXPECT_EQ(Path(Child(location, AutoUString<UTF8>(row.name))), row.child);
    if (std::string(row.parent) == "!root") {
      EXPECT_THROW((void)Parent(location), RootHasNoParent);
    } else if (std::string(row.parent) == "!invalid") {
      EXPECT_THROW((void)Parent(location), InvalidFileLocation);
    } else {
      EXPECT_EQ(Path(Parent(location)), row.parent);
    }
  }
  EXPECT_THROW((void)Child(FileLocation(), AutoUString<UTF8>("x")), EmptyFileLocationError);
}

TEST(FileLocation, BytesShowAsHexWithTheirTextAndCompareInByteOrder) {
  const FileLocation text = FileLocation::FromBytes(BinaryString("/t\xc3\xa9"));
  EXPECT_EQ(Str(text.DisplayText()), "2f74c3a9 (UTF8: /t\xc3\xa9)");
  const FileLocation raw = FileLocation::FromBytes(BinaryString("/d/\xff"));
  EXPECT_EQ(Str(raw.DisplayText()), "2f642fff");
  EXPECT_EQ(raw.SystemPath(), "/d/\xff");
  EXPECT_EQ(Path(Parent(raw)), "/d");
  EXPECT_EQ(Path(Child(Parent(raw), AutoUString<UTF8>("x"))), "/d/x");
  EXPECT_TRUE(Child(Parent(raw), AutoUString<UTF8>("x")).IsBinary());
  // Comparison is byte order, without normalising.
  EXPECT_EQ(Compare(FileLocation("/a/b"), FileLocation::FromBytes(BinaryString("/a/b"))), 0);
  EXPECT_LT(Compare(FileLocation("/a"), FileLocation("/a/b")), 0);
  EXPECT_GT(Compare(FileLocation("/a/\xc3\xa9"), FileLocation("/a/z")), 0);
  EXPECT_NE(FileLocation("/a//b"), FileLocation("/a/b"));
  EXPECT_NE(FileLocation("/A"), FileLocation("/a"));
  EXPECT_TRUE(FileLocation().IsEmpty());
  EXPECT_TRUE(FileLocation("/").IsRoot());
}

class FileOperations : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir(folder.Path("dir").c_str(), 0700), 0);
    WriteWholeFile(folder.Path("dir/inner"), "inner");
    WriteWholeFile(folder.Path("file"), "file");
    ASSERT_EQ(::symlink(folder.Path("file").c_str(), folder.Path("toFile").c_str()), 0);
    ASSERT_EQ(::symlink(folder.Path("dir").c_str(), folder.Path("toDir").c_str()), 0);
    ASSERT_EQ(::symlink(folder.Path("gone").c_str(), folder.Path("dangling").c_str()), 0);
  }
  [[nodiscard]] bool Has(const char* name) const { return Exists(folder.Location(name)); }
  TemporaryFolder folder;
};

TEST_F(FileOperations, StatusTellsEntriesLinksAndDanglingLinksApart) {
  struct Row {
    const char* name;
    std::uint32_t state;
    bool directory;
  } rows[] = {
      {"dir", FileStatus::kExists, true},
      {"file", FileStatus::kExists, false},
      {"toFile", FileStatus::kLinkToTarget, false},
      {"toDir", FileStatus::kLinkToTarget, true},
      {"dangling", FileStatus::kDanglingLink, false},
      {"gone", FileStatus::kNothing, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint32_t error = 99;
    const FileStatus status = GetStatus(folder.Location(row.name), &error);
    EXPECT_EQ(status.state, row.state);
    EXPECT_EQ(status.IsDirectory(), row.directory);
    EXPECT_EQ(error, row.state == FileStatus::kNothing ? static_cast<std::uint32_t>(ENOENT) : 0u);
  }
}

TEST_F(FileOperations, EmptyingAFolderNeverFollowsLinks) {
  ASSERT_EQ(::mkdir(folder.Path("tree").c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(folder.Path("tree/sub").c_str(), 0700), 0);
  WriteWholeFile(folder.Path("tree/sub/x"), "x");
  ASSERT_EQ(::symlink(folder.Path("dir").c_str(), folder.Path("tree/sub/link").c_str()), 0);
  ASSERT_EQ(::symlink(folder.Path("gone").c_str(), folder.Path("tree/dangling").c_str()), 0);
  DeleteContentsNow(folder.Location("tree"));
  EXPECT_TRUE(UnixPlatform::FileLoop(folder.Location("tree")).AtEnd());
  EXPECT_EQ(ReadWholeFile(folder.Path("dir/inner")), "inner");
  EXPECT_THROW(DeleteContentsNow(folder.Location("file")), DirectoryNotFoundError);
  DeleteContentsNow(folder.Location("gone"));
  // The folder's own contents go, the folder and the folders its links name stay.
  DeleteContentsNow(folder.Location("toDir"));
  EXPECT_TRUE(Has("dir") && !Has("dir/inner"));
  DeleteContentsNow(folder.Location());
  EXPECT_TRUE(Has(""));
  EXPECT_TRUE(UnixPlatform::FileLoop(folder.Location()).AtEnd());
  EXPECT_THROW(DeleteContentsNow(FileLocation()), EmptyFileLocationError);
}

TEST_F(FileOperations, MakingAFolderPathMakesTheMissingPartsOnly) {
  ForceDirectoryPath(folder.Location("a/b/c"));
  EXPECT_TRUE(GetStatus(folder.Location("a/b/c")).IsDirectory());
  ForceDirectoryPath(folder.Location("toDir"));
  EXPECT_EQ(GetStatus(folder.Location("toDir")).state, FileStatus::kLinkToTarget);
  EXPECT_THROW(ForceDirectoryPath(folder.Location("file")), FileFoundError);
  EXPECT_THROW(ForceDirectoryPath(folder.Location("file/x")), FileFoundError);
  EXPECT_EQ(ReadWholeFile(folder.Path("file")), "file");
}

TEST_F(FileOperations, FolderLoopIsSortedKeepsDotNamesAndListsUnreadableNamesAsBytes) {
  ASSERT_EQ(::mkdir(folder.Path("loop").c_str(), 0700), 0);
  for (const char* name : {"b.xml", ".hidden", "a", "ab.xml", "\xc3\xa9.x"}) {
    WriteWholeFile(folder.Path(std::string("loop/") + name), "");
  }
  // In the C locale a name with bytes above 127 is not text: it is listed as bytes.
  for (const char* locale : {"C.UTF-8", "C"}) {
    SCOPED_TRACE(locale);
    ASSERT_NE(std::setlocale(LC_CTYPE, locale), nullptr);
    std::string names, kinds;
    UnixPlatform::FileLoop loop(folder.Location("loop"));
    const std::string prefix = folder.Path("loop/");
    for (; !loop.AtEnd(); loop.Advance()) {
      names += Path(loop.Current()).substr(prefix.size()) + " ";
      kinds += loop.Current().IsBinary() ? 'b' : 't';
    }
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(names, ".hidden a ab.xml b.xml \xc3\xa9.x ");
    EXPECT_EQ(kinds, std::string(locale) == "C" ? "ttttb" : "ttttt");
    EXPECT_THROW((void)loop.Current(), UnixPlatform::FileLoop::InvalidIteratorPosition);
  }
  EXPECT_THROW(UnixPlatform::FileLoop(folder.Location("none")), FileNotFoundError);
}

using UnixPlatform::FileReadingPath;
using UnixPlatform::FileWritingPath;
using Opening = FileWritingPath::Opening;

bool CloseOnExec(int descriptor) { return (::fcntl(descriptor, F_GETFD) & FD_CLOEXEC) != 0; }

TEST(FileWritingPath, EachOpeningHandlesWhatIsThereAndClosesOnExec) {
  struct Row {
    Opening opening;
    bool exists;
    const char* contentAfter;  // "!" when the open throws
  } rows[] = {
      {Opening::kOpenExisting, true, "old"},  {Opening::kOpenExisting, false, "!"},
      {Opening::kCreateNew, true, "!"},       {Opening::kCreateNew, false, ""},
      {Opening::kOpenOrCreate, true, "old"},  {Opening::kOpenOrCreate, false, ""},
      {Opening::kCreateOrTruncate, true, ""}, {Opening::kCreateOrTruncate, false, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(&row - rows));
    TemporaryFolder folder;
    if (row.exists) WriteWholeFile(folder.Path("f"), "old");
    FileWritingPath path;
    if (std::string(row.contentAfter) == "!") {
      EXPECT_THROW(path.Open(folder.Location("f"), row.opening), FileIOError);
      continue;
    }
    path.Open(folder.Location("f"), row.opening);
    EXPECT_TRUE(CloseOnExec(path.Descriptor()));
    EXPECT_EQ(ReadWholeFile(folder.Path("f")), row.contentAfter);
  }
  TemporaryFolder folder;
  WriteWholeFile(folder.Path("f"), "old");
  EXPECT_THROW(FileWritingPath(folder.Location("f"), Opening::kCreateNew), FileExistsError);
  EXPECT_THROW(FileWritingPath(folder.Location("none"), Opening::kOpenExisting), FileNotFoundError);
  FileReadingPath reading(folder.Location("f"));
  EXPECT_TRUE(CloseOnExec(reading.Descriptor()));
  try {
    reading.Open(FileLocation());
    ADD_FAILURE() << "no exception";
  } catch (const FileIOError& error) {
    EXPECT_EQ(typeid(error), typeid(FileIOError));
    EXPECT_EQ(error.error(), 0u);
  }
  EXPECT_THROW((void)reading.Size(), FileNotOpenError);
}

TEST(FileWriter, WritesAtItsPositionAndContinuesAShortWrite) {
  TemporaryFolder folder;
  WriteWholeFile(folder.Path("f"), "0123456789");
  FileWritingPath path(folder.Location("f"), Opening::kOpenExisting);
  FileDataSink sink(path, 2);
  sink.StartData(0);
  sink.Receive("XY", std::strchr("XY", 0));
  sink.EndData();
  EXPECT_EQ(ReadWholeFile(folder.Path("f")), "01XY456789");
  EXPECT_EQ(path.Size(), 10u);

  // Under a file size limit the kernel writes the bytes below it and fails the next write: the
  // writer must carry on after the short write to meet that failure.
  FileWritingPath limitedPath(folder.Location("g"), Opening::kCreateOrTruncate);
  const std::string bytes(25, 'z');
  rlimit previous{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = previous;
  limited.rlim_cur = 10;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  FileWriter writer(limitedPath, 0);
  try {
    writer.Write(bytes.data(), bytes.data() + bytes.size());
    ADD_FAILURE() << "no exception";
  } catch (const FileIOError& error) {
    EXPECT_EQ(error.error(), static_cast<std::uint32_t>(EFBIG));
  }
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(writer.Position(), 10u);
  EXPECT_EQ(ReadWholeFile(folder.Path("g")), std::string(10, 'z'));

  FileWritingPath full(FileLocation("/dev/full"), Opening::kOpenExisting);
  FileDataSink fullSink(full);
  fullSink.StartData(0);
  EXPECT_THROW(fullSink.Receive(bytes.data(), bytes.data() + bytes.size()), FileDiskFullError);
}

TEST(FileReader, PipeHasNoSizeAndIsReadToItsEnd) {
  TemporaryFolder folder;
  ASSERT_EQ(::mkfifo(folder.Path("p").c_str(), 0600), 0);
  FileWritingPath writing(folder.Location("p"), Opening::kOpenExisting);
  FileReadingPath reading(folder.Location("p"));
  EXPECT_EQ(reading.Size(), FileReadingPath::kUnknownSize);
  ASSERT_EQ(::write(writing.Descriptor(), "abc", 3), 3);
  writing.Close();
  std::vector<char> bytes;
  VectorAppender appender(bytes);
  ReadFileInto(reading, appender);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
}

}  // namespace
