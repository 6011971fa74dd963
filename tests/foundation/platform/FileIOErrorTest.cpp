// File errors: the class each errno maps to, the composed text with the system's own words, and
// copies that outlive their original; and the words every exception of ours reports.
#include "foundation/platform/FileIOError.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/StandardExceptions.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

namespace {

// Puts back the locale a test switched.
struct LocaleGuard {
  std::string previous = std::setlocale(LC_ALL, nullptr);
  ~LocaleGuard() { std::setlocale(LC_ALL, previous.c_str()); }
};

using Thrower = void (*)(const AutoUString<UTF8>&, std::uint32_t);

// Runs a mapping and returns the class it threw, checking that the path and number came along.
const std::type_info& ThrownBy(Thrower thrower, int error) {
  const AutoUString<UTF8> path("/var/tmp/x");
  try {
    thrower(path, static_cast<std::uint32_t>(error));
  } catch (const FileIOError& thrown) {
    EXPECT_EQ(thrown.path(), path);
    EXPECT_EQ(thrown.error(), static_cast<std::uint32_t>(error));
    return typeid(thrown);
  }
  ADD_FAILURE() << "the mapping returned";
  return typeid(void);
}

TEST(FileErrorMapping, EachMappingThrowsTheClassOfItsTable) {
  // Classes by letter: P permission, N not found, L lock, R resource, X exists, D no directory,
  // S seek, F disk full, E end of file, - plain.
  const std::map<char, const std::type_info*> classes = {
      {'P', &typeid(FilePermissionError)}, {'N', &typeid(FileNotFoundError)},
      {'L', &typeid(FileLockError)},       {'R', &typeid(FileResourceError)},
      {'X', &typeid(FileExistsError)},     {'D', &typeid(DirectoryNotFoundError)},
      {'S', &typeid(FileSeekError)},       {'F', &typeid(FileDiskFullError)},
      {'E', &typeid(EndOfFileError)},      {'-', &typeid(FileIOError)}};
  const Thrower throwers[] = {ThrowFileError, ThrowFileWritingError, ThrowFilePositioningError,
                              ThrowFileReadingError};
  // errno, then the class of the general, writing, positioning and reading mappings.
  const std::pair<int, const char*> rows[] = {
      {EPERM, "PPPP"},        {EACCES, "PPPP"}, {ENOENT, "NNN-"}, {EAGAIN, "LLL-"},
      {ENOMEM, "RRR-"},       {EMFILE, "RRR-"}, {EEXIST, "-XX-"}, {ENOTDIR, "DDD-"},
      {ENAMETOOLONG, "DDD-"}, {EINVAL, "--SS"}, {ENOSPC, "-FF-"}, {97, "---E"},
      {123456, "----"}};
  for (const auto& [error, expected] : rows) {
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(testing::Message() << error << " mapping " << i);
      EXPECT_EQ(ThrownBy(throwers[i], error), *classes.at(expected[i]));
    }
  }
}

TEST(FileIOErrorText, ComposesTheQuotedPartsThatArePresent) {
  const std::string lead = "File error \"file not found\"";
  // The number in lower-case hex, all eight digits of it, then the system's own text.
  const std::string system =
      " : \"Error 0xdeadbeef%: " + std::string(std::strerror(static_cast<int>(0xdeadbeef))) + "\"";
  const struct {
    const char* path;
    std::uint32_t error;
    std::string expected;
  } rows[] = {
      {"", 0, lead},
      {"/etc/x", 0, lead + " on \"/etc/x\""},
      {"", 0xdeadbeef, lead + system},
      {"/etc/x", 0xdeadbeef, lead + " on \"/etc/x\"" + system},
      {"/a/{p}", 0, lead + " on \"/a/{p}\""},  // braces in a path are data
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.expected);
    const FileNotFoundError error(AutoUString<UTF8>(row.path), row.error);
    EXPECT_EQ(std::string(error.what()), row.expected);
  }
  EXPECT_EQ(std::string(FileIOError(EIO).what()),
            "File error \"file error\" : \"Error 0x5%: " + std::string(std::strerror(EIO)) + "\"");
}

TEST(FileIOErrorText, NonASCIIPathIsSpelledInAUTF8LocaleAndFallsBackInTheCLocale) {
  const AutoUString<UTF8> path("/home/s\xc3\xb8ren");
  const LocaleGuard guard;
  std::setlocale(LC_ALL, "C");
  const FileExistsError error(path, EEXIST);
  EXPECT_STREQ(error.what(), "file exists");
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  EXPECT_EQ(std::string(FileExistsError(path, 0).what()),
            "File error \"file exists\" on \"/home/s\xc3\xb8ren\"");
}

TEST(FileIOErrorCopy, CopyOutlivesTheOriginalWithPathAndText) {
  // Longer than the strings' inline buffer, so the copy must own a heap block of its own.
  const AutoUString<UTF8> longPath(
      "/a/rather/long/path/that/does/not/fit/the/inline/buffer/0123456789");
  const std::string expected = FileNotFoundError(longPath, ENOENT).what();
  for (bool composeFirst : {false, true}) {
    SCOPED_TRACE(composeFirst);
    auto original = std::make_unique<FileNotFoundError>(longPath, ENOENT);
    if (composeFirst) (void)original->what();
    FileNotFoundError copy(AutoUString<UTF8>("/old"), EIO);
    copy = *original;
    FileNotFoundError constructed(*original);
    original.reset();
    for (const FileNotFoundError* survivor : {&copy, &constructed}) {
      EXPECT_EQ(survivor->path(), longPath);
      EXPECT_EQ(survivor->error(), static_cast<std::uint32_t>(ENOENT));
      EXPECT_EQ(survivor->what(), expected);
    }
  }
}

// Every exception names its failure in words: a data-less class by its declaration, a message
// exception by its message; none reports a type name.
TEST(ExceptionWords, WhatNamesTheFailure) {
  const ExceptionPL message("Could not convert XMLDuration to TimeInterval");
  const struct {
    const std::exception& error;
    const char* words;
  } rows[] = {
      {DataOverflow(), "output buffer too small for the data"},
      {UnixPlatform::MultiByteToWideConvertError(), "text the locale's encoding cannot read"},
      {message, "Could not convert XMLDuration to TimeInterval"},
  };
  for (const auto& row : rows) EXPECT_STREQ(row.error.what(), row.words);
}

}  // namespace
