// Files: path arithmetic; operations on a real folder (status, removal, creation, moves and
// copies, folder loops, permissions); the retries with their sleeps and their log; and
// opening, writing and reading files.
#include "foundation/platform/FileOperations.h"

#include "foundation/data/VectorAppender.h"
#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/FileDataSink.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileLocation.h"
#include "foundation/platform/FileLoop.h"
#include "foundation/platform/FilePermissions.h"
#include "foundation/platform/FileReader.h"
#include "foundation/platform/FileRetryLog.h"
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
    const char* lastName;
  } rows[] = {
      {"/var/tmp/", "/x/", "/var/tmp/x", "/var", "tmp"},
      {"/", "etc", "/etc", "!root", ""},
      {"/a", "b//", "/a/b", "/", "a"},
      {"a/b", "c", "a/b/c", "a", "b"},
      {"plain", "c", "plain/c", "!invalid", "plain"},
      {"/a//b", "", "/a//b/", "/a/", "b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    const FileLocation location(row.path);
    EXPECT_EQ(Path(Child(location, AutoUString<UTF8>(row.name))), row.child);
    EXPECT_EQ(Str(Name(location)), row.lastName);
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
  EXPECT_THROW((void)Name(raw), BinaryManipulationNotSupported);
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

std::vector<std::uint32_t> sleeps;
void RecordSleep(std::uint32_t milliseconds) { sleeps.push_back(milliseconds); }

class RecordingLog : public FileRetryLog {
 public:
  void RetrySucceeded(const char* operation, const FileLocation&, const FileLocation* second,
                      std::uint32_t attempts) override {
    Add("succeeded ", operation, second, attempts);
  }
  void RetryGaveUp(const char* operation, const FileLocation&, const FileLocation* second,
                   std::uint32_t attempts) override {
    Add("gave up ", operation, second, attempts);
  }
  void Add(const char* what, const char* operation, const FileLocation* second,
           std::uint32_t attempts) {
    calls.push_back(what + std::string(operation) + (second ? " 2 " : " 1 ") +
                    std::to_string(attempts));
  }
  std::vector<std::string> calls;
};

class FileOperations : public ::testing::Test {
 protected:
  // Failures are retried on the schedule; the sleeps are recorded, not slept.
  void SetUp() override {
    sleeps.clear();
    previousSleep_ = ReplaceRetrySleep(RecordSleep);
    ASSERT_EQ(::mkdir(folder.Path("dir").c_str(), 0700), 0);
    WriteWholeFile(folder.Path("dir/inner"), "inner");
    WriteWholeFile(folder.Path("file"), "file");
    ASSERT_EQ(::symlink(folder.Path("file").c_str(), folder.Path("toFile").c_str()), 0);
    ASSERT_EQ(::symlink(folder.Path("dir").c_str(), folder.Path("toDir").c_str()), 0);
    ASSERT_EQ(::symlink(folder.Path("gone").c_str(), folder.Path("dangling").c_str()), 0);
  }
  void TearDown() override { ReplaceRetrySleep(previousSleep_); }
  [[nodiscard]] bool Has(const char* name) const { return Exists(folder.Location(name)); }
  TemporaryFolder folder;
  RecordingLog log;
  RetrySleepFunction previousSleep_ = nullptr;
};

TEST_F(FileOperations, StatusTellsEntriesLinksAndDanglingLinksApart) {
  struct Row {
    const char* name;
    std::uint32_t state;
    bool directory;
    bool regular;
  } rows[] = {
      {"dir", FileStatus::kExists, true, false},
      {"file", FileStatus::kExists, false, true},
      {"toFile", FileStatus::kLinkToTarget, false, true},
      {"toDir", FileStatus::kLinkToTarget, true, false},
      {"dangling", FileStatus::kDanglingLink, false, false},
      {"gone", FileStatus::kNothing, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint32_t error = 99;
    const FileStatus status = GetStatus(folder.Location(row.name), &error);
    EXPECT_EQ(status.state, row.state);
    EXPECT_EQ(status.IsDirectory(), row.directory);
    EXPECT_EQ(status.IsRegularFile(), row.regular);
    EXPECT_EQ(error, row.state == FileStatus::kNothing ? static_cast<std::uint32_t>(ENOENT) : 0u);
  }
}

TEST_F(FileOperations, RemovingNeverFollowsLinks) {
  ForceNonexistence(folder.Location("dangling"));
  ForceNonexistence(folder.Location("gone"));
  EXPECT_FALSE(Has("dangling"));
  ASSERT_EQ(::mkdir(folder.Path("tree").c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(folder.Path("tree/sub").c_str(), 0700), 0);
  WriteWholeFile(folder.Path("tree/sub/x"), "x");
  ASSERT_EQ(::symlink(folder.Path("dir").c_str(), folder.Path("tree/sub/link").c_str()), 0);
  DeleteRecursive(folder.Location("tree"));
  EXPECT_FALSE(Has("tree"));
  EXPECT_EQ(ReadWholeFile(folder.Path("dir/inner")), "inner");
  // The folder's own contents go, the folder and the folders its links name stay.
  DeleteContentsNow(folder.Location());
  EXPECT_TRUE(Has(""));
  EXPECT_TRUE(UnixPlatform::FileLoop(folder.Location(), AutoUString<UTF8>()).AtEnd());
  EXPECT_THROW(DeleteContentsNow(FileLocation()), EmptyFileLocationError);
}

TEST_F(FileOperations, CreatingRespectsWhatIsThereAndTheMode) {
  EXPECT_THROW(CreateFile(folder.Location("file"), 0600), FileFoundError);
  EXPECT_EQ(ReadWholeFile(folder.Path("file")), "file");
  const mode_t previous = ::umask(027);
  CreateFile(folder.Location("exact"), 0606);
  CreateFile(folder.Location("masked"), 0666);
  ::umask(previous);
  struct stat status {};
  ASSERT_EQ(::stat(folder.Path("exact").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0606u);
  ASSERT_EQ(::stat(folder.Path("masked").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);

  EXPECT_THROW(ForceDirectoryExistence(folder.Location("file")), FileFoundError);
  ForceDirectoryPath(folder.Location("a/b/c"));
  EXPECT_TRUE(GetStatus(folder.Location("a/b/c")).IsDirectory());
  EXPECT_THROW(ForceDirectoryPath(folder.Location("file/x")), FileFoundError);
  EXPECT_THROW(CreateDirectoryNow(folder.Location("none/x")), FileNotFoundError);
}

TEST_F(FileOperations, MovingAndCopying) {
  CopyFile(folder.Location("file"), folder.Location("copy"));
  EXPECT_EQ(ReadWholeFile(folder.Path("copy")), "file");
  EXPECT_THROW(CopyFile(folder.Location("dir"), folder.Location("c2")), FileNotFoundError);
  MoveFile(folder.Location("copy"), folder.Location("moved"));
  EXPECT_FALSE(Has("copy"));
  EXPECT_THROW(MoveFile(folder.Location("moved"), folder.Location("file")), FileFoundError);
  ForceMoveFile(folder.Location("moved"), folder.Location("file"));
  EXPECT_EQ(ReadWholeFile(folder.Path("file")), "file");
  EXPECT_THROW(ForceMoveFile(folder.Location("file"), folder.Location("dir")), DirectoryFoundError);
  WriteWholeFile(folder.Path("new"), "new");
  ForceCopyFile(folder.Location("new"), folder.Location("file"));
  EXPECT_EQ(ReadWholeFile(folder.Path("file")), "new");
}

TEST_F(FileOperations, FolderLoopIsSortedKeepsDotNamesAndMatchesPatterns) {
  ASSERT_EQ(::mkdir(folder.Path("loop").c_str(), 0700), 0);
  for (const char* name : {"b.xml", ".hidden", "a", "ab.xml", "\xc3\xa9.x"}) {
    WriteWholeFile(folder.Path(std::string("loop/") + name), "");
  }
  // In the C locale a name with bytes above 127 is not text: it is listed as bytes, and "?"
  // stands for one byte of it.
  struct Row {
    const char* locale;
    const char* pattern;
    const char* names;
  } rows[] = {
      {"C.UTF-8", "", ".hidden a ab.xml b.xml \xc3\xa9.x "},
      {"C.UTF-8", "*.xml", "ab.xml b.xml "},
      {"C.UTF-8", "?.*", "b.xml \xc3\xa9.x "},
      {"C.UTF-8", "a*", "a ab.xml "},
      {"C.UTF-8", "*", ".hidden a ab.xml b.xml \xc3\xa9.x "},
      {"C.UTF-8", "a?", ""},
      {"C.UTF-8", "*b*l", "ab.xml b.xml "},
      {"C", "?.*", "b.xml "},
      {"C", "??.x", "\xc3\xa9.x "},
      {"C", "", ".hidden a ab.xml b.xml \xc3\xa9.x "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.locale) + " " + row.pattern);
    ASSERT_NE(std::setlocale(LC_CTYPE, row.locale), nullptr);
    std::string names;
    UnixPlatform::FileLoop loop(folder.Location("loop"), AutoUString<UTF8>(row.pattern));
    for (; !loop.AtEnd(); loop.Advance()) names += Str(Name(loop.Current())) + " ";
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(names, row.names);
    EXPECT_THROW((void)loop.Current(), UnixPlatform::FileLoop::InvalidIteratorPosition);
  }
  EXPECT_THROW((void)UnixPlatform::FileLoop().Current(), FileLoopUninitialized);
  EXPECT_THROW(UnixPlatform::FileLoop(folder.Location("none"), AutoUString<UTF8>()),
               FileNotFoundError);
}

TEST_F(FileOperations, FreeSpaceAndWritePermission) {
  EXPECT_EQ(FreeSpace(folder.Location("none/x")), std::numeric_limits<std::uint64_t>::max());
  EXPECT_LT(FreeSpace(folder.Location()), std::numeric_limits<std::uint64_t>::max());
  SetReadOnly(folder.Location("file"), true);
  EXPECT_TRUE(::geteuid() == 0 || IsReadOnly(folder.Location("file")));
  SetWritable(folder.Location("file"), true);
  EXPECT_FALSE(IsReadOnly(folder.Location("file")));
}

TEST_F(FileOperations, SleepsDoubleFromFortyAndTheLogHearsOfLateSuccessOrGivingUp) {
  struct Row {
    int failures;
    std::vector<std::uint32_t> sleeps;
    const char* logged;  // empty for no call
  } rows[] = {
      {0, {}, ""},
      {1, {40}, "succeeded Test 1 2"},
      {8, {40, 80, 160, 320, 640, 1280, 2560, 5120}, "succeeded Test 1 9"},
      {9, {40, 80, 160, 320, 640, 1280, 2560, 5120}, "gave up Test 1 9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.failures);
    sleeps.clear();
    log.calls.clear();
    int attempts = 0;
    auto attempt = [&] {
      if (++attempts <= row.failures) throw FileIOError(attempts);
    };
    try {
      RetryFileOperation("Test", FileLocation("/x"), nullptr, log, attempt);
      EXPECT_LT(row.failures, 9);
    } catch (const FileIOError& error) {
      EXPECT_EQ(row.failures, 9);
      EXPECT_EQ(error.error(), 9u);  // the last attempt's exception
    }
    EXPECT_EQ(sleeps, row.sleeps);
    EXPECT_EQ(log.calls.empty() ? "" : log.calls.at(0), std::string(row.logged));
    EXPECT_LE(log.calls.size(), 1u);
  }
}

TEST_F(FileOperations, EmptyLocationsAreRefusedAtOnceOthersGiveUpUnderTheirNames) {
  EXPECT_THROW(DeleteFile(FileLocation(), log), EmptyFileLocationError);
  EXPECT_THROW(MoveFile(folder.Location(), FileLocation(), log), EmptyFileLocationError);
  int attempts = 0;
  EXPECT_THROW(RetryFileOperation("Test", FileLocation("/x"), nullptr, log,
                                  [&] { ++attempts, throw EmptyFileLocationError(0); }),
               EmptyFileLocationError);
  EXPECT_EQ(attempts, 1);
  EXPECT_TRUE(sleeps.empty());
  EXPECT_TRUE(log.calls.empty());
  // Real operations give up under their own names.
  EXPECT_THROW(CreateFile(folder.Location("file"), 0666, log), FileFoundError);
  EXPECT_THROW(CopyFile(folder.Location("none"), folder.Location("g"), log), FileNotFoundError);
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"gave up CreateFile 1 9", "gave up CopyFile 2 9"}));
  EXPECT_EQ(ReadWholeFile(folder.Path("file")), "file");
  EXPECT_EQ(sleeps.size(), 16u);
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

TEST(FileWriter, AppendsOrWritesAtItsPositionAndContinuesAShortWrite) {
  TemporaryFolder folder;
  WriteWholeFile(folder.Path("f"), "0123456789");
  FileWritingPath path(folder.Location("f"), Opening::kOpenExisting);
  ASSERT_EQ(::lseek(path.Descriptor(), 3, SEEK_SET), 3);
  FileWriter appending(path);
  EXPECT_EQ(::lseek(path.Descriptor(), 0, SEEK_CUR), 3);
  appending.Write("ab", std::strchr("ab", 0));
  FileDataSink sink(path, 2);
  sink.StartData(0);
  sink.Receive("XY", std::strchr("XY", 0));
  sink.EndData();
  EXPECT_EQ(ReadWholeFile(folder.Path("f")), "01XY456789ab");
  EXPECT_EQ(path.Size(), 12u);

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

TEST(FileReader, PipeHasNoSizeAndIsReadToItsEndAFileToItsSize) {
  TemporaryFolder folder;
  CreateFifo(folder.Location("p"), 0600);
  FileWritingPath writing(folder.Location("p"), Opening::kOpenExisting);
  FileReadingPath reading(folder.Location("p"));
  EXPECT_EQ(reading.Size(), FileReadingPath::kUnknownSize);
  ASSERT_EQ(::write(writing.Descriptor(), "abc", 3), 3);
  writing.Close();
  std::vector<char> bytes;
  VectorAppender appender(bytes);
  ReadFileInto(reading, appender);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");

  // The loop reads chunks up to the size and notices a shrunk file.
  WriteWholeFile(folder.Path("f"), "0123456789");
  WriteWholeFile(folder.Path("empty"), "");
  FileReadingPath path(folder.Location("f"));
  char buffer[4];
  std::vector<std::string> chunks;
  for (FileReadingLoop loop(buffer, 4, path, 1); !loop.Done(); loop.Advance()) {
    chunks.emplace_back(loop.ChunkBegin(), loop.ChunkEnd());
  }
  EXPECT_EQ(chunks, (std::vector<std::string>{"1234", "5678", "9"}));
  FileReadingPath empty(folder.Location("empty"));
  EXPECT_TRUE(FileReadingLoop(buffer, 4, empty).Done());
  FileReadingLoop shrinking(buffer, 4, path);
  ASSERT_EQ(::truncate(folder.Path("f").c_str(), 5), 0);
  EXPECT_THROW(shrinking.Advance(), FileReadingLoopEndOfFileError);
}

}  // namespace
