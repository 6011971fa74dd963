#include "foundation/platform/FileIOError.h"

#include <cerrno>
#include <clocale>
#include <memory>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include "foundation/platform/SystemErrorText.h"

namespace {

std::string Text(const DebuggableException& error) {
  const auto range = error.text();
  return std::string(range.first, range.second);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string SystemText(std::uint32_t error) {
  const AutoUString<UTF8> text = SystemErrorText(error);
  return std::string(text.begin(), text.end());
}

// Runs a test body under another locale and puts the previous one back.
class LocaleGuard {
 public:
  explicit LocaleGuard(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    active_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~LocaleGuard() { std::setlocale(LC_ALL, previous_.c_str()); }
  [[nodiscard]] bool Active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

TEST(FileIOErrorText, ComposesTheQuotedPartsThatArePresent) {
  const std::string type = Quoted(typeid(FileNotFoundError).name());
  const std::string denied = Quoted(SystemText(EACCES));
  struct Row {
    const char* path;
    const char* secondPath;
    std::uint32_t error;
    std::string expected;
  };
  const Row rows[] = {
      {"", "", 0, "File error " + type},
      {"/etc/x", "", 0, "File error " + type + " on \"/etc/x\""},
      {"/etc/x", "/tmp/y", 0, "File error " + type + " on \"/etc/x\" and \"/tmp/y\""},
      {"", "/tmp/y", 0, "File error " + type + " and \"/tmp/y\""},
      {"", "", EACCES, "File error " + type + " : " + denied},
      {"/etc/x", "/tmp/y", EACCES, "File error " + type + " on \"/etc/x\" and \"/tmp/y\" : " + denied},
      // Braces in a path are data, not variables.
      {"/a/{p}", "", 0, "File error " + type + " on \"/a/{p}\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    const FileNotFoundError error(AutoUString<UTF8>(row.path), AutoUString<UTF8>(row.secondPath), row.error);
    EXPECT_EQ(Text(error), row.expected);
    EXPECT_EQ(std::string(error.what()), row.expected);
  }
}

TEST(FileIOErrorText, ErrorOnlyFormQuotesTheSystemText) {
  const FileIOError error(EIO);
  EXPECT_EQ(Text(error), "File error " + Quoted(typeid(FileIOError).name()) + " : " + Quoted(SystemText(EIO)));
}

TEST(FileIOErrorText, PathTheLocaleCannotSpellFallsBackToTheTypeName) {
  LocaleGuard locale("C");
  ASSERT_TRUE(locale.Active());
  const FileExistsError error(AutoUString<UTF8>("/home/s\xc3\xb8ren"), EEXIST);
  EXPECT_STREQ(error.what(), typeid(FileExistsError).name());
  EXPECT_EQ(Text(error), typeid(FileExistsError).name());
}

TEST(FileIOErrorText, PathIsKeptInUTF8AndSpelledInAUTF8Locale) {
  LocaleGuard locale("C.UTF-8");
  if (!locale.Active()) GTEST_SKIP() << "no C.UTF-8 locale";
  const FileExistsError error(AutoUString<UTF8>("/home/s\xc3\xb8ren"), 0);
  const std::string expected = "File error " + Quoted(typeid(FileExistsError).name()) + " on \"/home/s\xc3\xb8ren\"";
  EXPECT_EQ(Text(error), expected);
  EXPECT_EQ(std::string(error.what()), expected);
}

TEST(FileIOErrorCopy, CopyOutlivesTheOriginalWithPathsAndText) {
  // Longer than the strings' inline buffer, so the copy must own a heap block of its own.
  const AutoUString<UTF8> longPath("/a/rather/long/path/that/does/not/fit/the/inline/buffer/0123456789");
  const AutoUString<UTF8> shortPath("/b");
  const std::string expected = FileMoveError(longPath, shortPath, ENOENT).what();
  for (bool composeFirst : {false, true}) {
    SCOPED_TRACE(composeFirst);
    auto original = std::make_unique<FileMoveError>(longPath, shortPath, ENOENT);
    if (composeFirst) (void)original->text();
    const FileMoveError copy(*original);
    original.reset();
    EXPECT_EQ(copy.path(), longPath);
    EXPECT_EQ(copy.secondPath(), shortPath);
    EXPECT_EQ(copy.error(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(std::string(copy.what()), expected);
    EXPECT_EQ(Text(copy), expected);
  }
}

TEST(FileIOErrorCopy, AssignmentReplacesEverything) {
  FileIOError target(AutoUString<UTF8>("/old"), EIO);
  (void)target.what();
  {
    const FileIOError source(AutoUString<UTF8>("/new"), AutoUString<UTF8>("/second"), 0);
    target = source;
  }
  EXPECT_EQ(target.path(), AutoUString<UTF8>("/new"));
  EXPECT_EQ(target.secondPath(), AutoUString<UTF8>("/second"));
  EXPECT_EQ(target.error(), 0u);
  EXPECT_EQ(Text(target), "File error " + Quoted(typeid(FileIOError).name()) + " on \"/new\" and \"/second\"");
}

TEST(FileIOErrorCopy, ThrownSubclassIsCaughtAsFileIOErrorWithItsOwnTypeName) {
  try {
    throw FileDiskFullError(AutoUString<UTF8>("/full"), ENOSPC);
  } catch (const DebuggableException& caught) {
    EXPECT_EQ(typeid(caught), typeid(FileDiskFullError));
    EXPECT_NE(Text(caught).find(typeid(FileDiskFullError).name()), std::string::npos);
  }
}

}  // namespace
