#include "foundation/platform/FileWritingPath.h"

#include "foundation/data/VectorAppender.h"
#include "foundation/platform/FileDataSink.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileOperations.h"
#include "foundation/platform/FileReader.h"
#include "foundation/platform/FileWriter.h"
#include "foundation/platform/StandardExceptions.h"
#include "tests/foundation/platform/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

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

TEST(FileWriter, AppendsOrWritesAtItsPositionAndSizeKeepsTheOffset) {
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
}

// A file size limit makes the kernel write only the bytes below it and fail the next write:
// the writer must carry on after the short write to meet that failure.
TEST(FileWriter, ShortWriteIsContinuedAtTheAdvancedOffset) {
  TemporaryFolder folder;
  FileWritingPath path(folder.Location("f"), Opening::kCreateOrTruncate);
  const std::string bytes(25, 'z');
  rlimit previous{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = previous;
  limited.rlim_cur = 10;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  FileWriter writer(path, 0);
  try {
    writer.Write(bytes.data(), bytes.data() + bytes.size());
    ADD_FAILURE() << "no exception";
  } catch (const FileIOError& error) {
    EXPECT_EQ(error.error(), static_cast<std::uint32_t>(EFBIG));
  }
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(writer.Position(), 10u);
  EXPECT_EQ(ReadWholeFile(folder.Path("f")), std::string(10, 'z'));

  FileWritingPath full(FileLocation("/dev/full"), Opening::kOpenExisting);
  FileDataSink sink(full);
  sink.StartData(0);
  EXPECT_THROW(sink.Receive(bytes.data(), bytes.data() + bytes.size()), FileDiskFullError);
}

TEST(FileReader, PipeHasNoSizeAndIsReadToItsEnd) {
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
}

TEST(FileReader, LoopReadsChunksUpToTheSizeAndNoticesAShrunkFile) {
  TemporaryFolder folder;
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
