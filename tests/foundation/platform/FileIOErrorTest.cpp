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
  return std::string(range.begin, range.end);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string QuotedSystemText(std::uint32_t error) {
  const AutoUString<UTF8> text = SystemErrorText(error);
  return Quoted(std::string(text.begin(), text.end()));
}

// Switches the whole locale for one test and puts the previous one back.
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
  const std::string lead = "File error " + Quoted(typeid(FileNotFoundError).name());
  struct Row {
    const char* path;
    const char* secondPath;
    std::uint32_t error;
    std::string expected;
  };
  const Row rows[] = {
      {"", "", 0, lead},
      {"/etc/x", "", 0, lead + " on \"/etc/x\""},
      {"/etc/x", "/tmp/y", 0, lead + " on \"/etc/x\" and \"/tmp/y\""},
      {"", "/tmp/y", 0, lead + " and \"/tmp/y\""},
      {"", "", EACCES, lead + " : " + QuotedSystemText(EACCES)},
      {"/etc/x", "/tmp/y", EACCES,
       lead + " on \"/etc/x\" and \"/tmp/y\" : " + QuotedSystemText(EACCES)},
      {"/a/{p}", "", 0, lead + " on \"/a/{p}\""},  // braces in a path are data
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    const FileNotFoundError error(AutoUString<UTF8>(row.path), AutoUString<UTF8>(row.secondPath),
                                  row.error);
    EXPECT_EQ(Text(error), row.expected);
    EXPECT_EQ(std::string(error.what()), row.expected);
  }
  EXPECT_EQ(Text(FileIOError(EIO)),
            "File error " + Quoted(typeid(FileIOError).name()) + " : " + QuotedSystemText(EIO));
}

TEST(FileIOErrorText, NonASCIIPathIsSpelledInAUTF8LocaleAndFallsBackInTheCLocale) {
  const AutoUString<UTF8> path("/home/s\xc3\xb8ren");
  {
    LocaleGuard locale("C");
    const FileExistsError error(path, EEXIST);
    EXPECT_STREQ(error.what(), typeid(FileExistsError).name());
    EXPECT_EQ(Text(error), typeid(FileExistsError).name());
  }
  LocaleGuard locale("C.UTF-8");
  if (!locale.Active()) GTEST_SKIP() << "no C.UTF-8 locale";
  const std::string expected =
      "File error " + Quoted(typeid(FileExistsError).name()) + " on \"/home/s\xc3\xb8ren\"";
  EXPECT_EQ(std::string(FileExistsError(path, 0).what()), expected);
}

TEST(FileIOErrorCopy, CopyOutlivesTheOriginalWithPathsAndText) {
  // Longer than the strings' inline buffer, so the copy must own a heap block of its own.
  const AutoUString<UTF8> longPath(
      "/a/rather/long/path/that/does/not/fit/the/inline/buffer/0123456789");
  const AutoUString<UTF8> shortPath("/b");
  const std::string expected = FileMoveError(longPath, shortPath, ENOENT).what();
  for (bool composeFirst : {false, true}) {
    SCOPED_TRACE(composeFirst);
    auto original = std::make_unique<FileMoveError>(longPath, shortPath, ENOENT);
    if (composeFirst) (void)original->text();
    FileMoveError copy(AutoUString<UTF8>("/old"), EIO);
    copy = *original;
    const FileMoveError constructed(*original);
    original.reset();
    for (const FileIOError* survivor :
         {static_cast<const FileIOError*>(&copy), static_cast<const FileIOError*>(&constructed)}) {
      EXPECT_EQ(survivor->path(), longPath);
      EXPECT_EQ(survivor->secondPath(), shortPath);
      EXPECT_EQ(survivor->error(), static_cast<std::uint32_t>(ENOENT));
      EXPECT_EQ(Text(*survivor), expected);
    }
  }
}

}  // namespace
