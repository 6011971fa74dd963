#include "foundation/platform/FileLocation.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/FileIOError.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(FileLocation, BytesWinAndShowAsHexWithTheirTextWhenTheyAreText) {
  const FileLocation text = FileLocation::FromBytes(BinaryString("/t\xc3\xa9"));
  EXPECT_EQ(Str(text.DisplayText()), "2f74c3a9 (UTF8: /t\xc3\xa9)");
  const FileLocation raw = FileLocation::FromBytes(BinaryString("/d/\xff"));
  EXPECT_EQ(Str(raw.DisplayText()), "2f642fff");
  EXPECT_EQ(raw.SystemPath(), "/d/\xff");
  EXPECT_EQ(Path(Parent(raw)), "/d");
  EXPECT_THROW((void)Name(raw), BinaryManipulationNotSupported);
  EXPECT_EQ(Path(Child(Parent(raw), AutoUString<UTF8>("x"))), "/d/x");
  EXPECT_TRUE(Child(Parent(raw), AutoUString<UTF8>("x")).IsBinary());
}

TEST(FileLocation, ComparisonIsByteOrderWithoutNormalising) {
  EXPECT_EQ(Compare(FileLocation("/a/b"), FileLocation::FromBytes(BinaryString("/a/b"))), 0);
  EXPECT_LT(Compare(FileLocation("/a"), FileLocation("/a/b")), 0);
  EXPECT_GT(Compare(FileLocation("/a/\xc3\xa9"), FileLocation("/a/z")), 0);
  EXPECT_NE(FileLocation("/a//b"), FileLocation("/a/b"));
  EXPECT_NE(FileLocation("/A"), FileLocation("/a"));
  EXPECT_TRUE(FileLocation().IsEmpty());
  EXPECT_TRUE(FileLocation("/").IsRoot());
}

}  // namespace
