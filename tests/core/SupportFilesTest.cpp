#include "core/SupportFiles.h"

#include "foundation/data/AppendBase64.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileStatus.h"
#include "tests/foundation/platform/TemporaryFolder.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatString.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }
UString8 U8(const std::string& text) { return UString8(text.data(), text.data() + text.size()); }

// Base64 in 76-character lines with CR LF, the way a mail-minded client sends it.
SupportFile File(const std::string& subFolder, const std::string& name, const std::string& bytes) {
  std::string base64;
  AppendBase64(bytes.data(), bytes.data() + bytes.size(), base64);
  std::string content;
  for (std::size_t i = 0; i < base64.size(); i += 76) content += base64.substr(i, 76) + "\r\n";
  return SupportFile{U8(name), U8(subFolder), U8(content)};
}

TEST(SupportFiles, MissingFolderIsCreatedWithParentsAndFilesHoldTheDecodedBytes) {
  TemporaryFolder temporary;
  std::string allBytes;
  for (int i = 0; i < 1000; ++i) allBytes += static_cast<char>(i * 7 % 256);
  const std::string base = temporary.Path("client/ui");
  WriteSupportFiles(U8(base), {File("", "all.bin", allBytes), File("", "empty", ""),
                               File("img/small", "logo.png", "\x89PNG\r\n"),
                               File("", "twice", "first and longer"), File("", "twice", "second")});
  EXPECT_EQ(ReadWholeFile(base + "/all.bin"), allBytes);
  EXPECT_EQ(ReadWholeFile(base + "/empty"), "");
  EXPECT_EQ(ReadWholeFile(base + "/img/small/logo.png"), "\x89PNG\r\n");
  EXPECT_EQ(ReadWholeFile(base + "/twice"), "second");
}

TEST(SupportFiles, ExistingFolderLosesItsContentButNotWhatItsLinksPointAt) {
  TemporaryFolder temporary;
  const std::string base = temporary.Path("ui");
  ASSERT_EQ(::mkdir(base.c_str(), 0700), 0);
  ASSERT_EQ(::mkdir((base + "/old").c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(temporary.Path("outside").c_str(), 0700), 0);
  WriteWholeFile(base + "/old/stale.xlat", "x");
  WriteWholeFile(temporary.Path("outside/keep"), "kept");
  ASSERT_EQ(::symlink(temporary.Path("outside").c_str(), (base + "/link").c_str()), 0);

  WriteSupportFiles(U8(base), {File("", "new", "n")});
  EXPECT_FALSE(Exists(FileLocation((base + "/old").c_str())));
  EXPECT_FALSE(Exists(FileLocation((base + "/link").c_str())));
  EXPECT_EQ(ReadWholeFile(temporary.Path("outside/keep")), "kept");
  EXPECT_EQ(ReadWholeFile(base + "/new"), "n");
}

TEST(SupportFiles, FolderThatIsAFileIsAnError) {
  TemporaryFolder temporary;
  WriteWholeFile(temporary.Path("plain"), "");
  EXPECT_THROW(WriteSupportFiles(U8(temporary.Path("plain")), {}), DirectoryNotFoundError);
  EXPECT_THROW(WriteSupportFiles(U8(temporary.Path("plain/below")), {}), FileIOError);
}

TEST(SupportFiles, NamesOutsideTheFolderAreRefusedBeforeAnythingIsWritten) {
  struct Row {
    const char* subFolder;
    const char* fileName;
  };
  const Row rows[] = {
      {"", "../up.txt"}, {"", "/tmp/abs.txt"}, {"", "a/../../b"}, {"", ".."},
      {"../side", "f"},  {"/tmp/side", "f"},   {"x/../..", "f"},  {"", ""},
      {"", "."},         {"", "dir/"},         {"sub", "."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.subFolder) + " | " + row.fileName);
    TemporaryFolder temporary;
    const std::string base = temporary.Path("ui/base");
    ASSERT_EQ(::mkdir(temporary.Path("ui").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(base.c_str(), 0700), 0);
    WriteWholeFile(base + "/earlier", "kept");
    EXPECT_THROW(WriteSupportFiles(
                     U8(base), {File("", "first", "1"), File(row.subFolder, row.fileName, "x")}),
                 InvalidFileLocation);
    EXPECT_EQ(ReadWholeFile(base + "/earlier"), "kept");
    EXPECT_FALSE(Exists(FileLocation((base + "/first").c_str())));
    EXPECT_FALSE(Exists(FileLocation(temporary.Path("ui/up.txt").c_str())));
    EXPECT_FALSE(Exists(FileLocation(temporary.Path("ui/side").c_str())));
  }
  // Dots inside names, and "." as a folder, stay inside.
  TemporaryFolder temporary;
  const std::string base = temporary.Path("ok");
  WriteSupportFiles(U8(base), {File(".", "a..b", "1"), File("x/./y", "..c", "2")});
  EXPECT_EQ(ReadWholeFile(base + "/a..b"), "1");
  EXPECT_EQ(ReadWholeFile(base + "/x/y/..c"), "2");
}

TEST(SupportFiles, TranslationFilesChosenForEachLocale) {
  // A brand file sets "Brand" and "Text", a translation file "Text", each to its own name: a
  // translation loaded after the brand wins for the key they share.
  struct Row {
    const char* files;  // names, "sub/" for one in a subfolder
    bool localeInUse;
    const char* locale;
    const char* brand;
    const char* text;
  } rows[] = {
      {"", true, "de_DE", "Brand", "Text"},
      {"_brand.xlat de_DE.xlat _brandde_DE.xlat", false, "de_DE", "_brand.xlat", "_brand.xlat"},
      {"_brand.xlat de.xlat de_DE.xlat _brandde.xlat _brandde_DE.xlat", true, "de_DE",
       "_brandde_DE.xlat", "de_DE.xlat"},
      {"_brand.xlat de.xlat _brandde.xlat", true, "de_AT", "_brandde.xlat", "de.xlat"},
      {"_brand.xlat fr.xlat", true, "fr_FR", "_brand.xlat", "fr.xlat"},
      {"_brandfr_FR.xlat", true, "fr_FR", "_brandfr_FR.xlat", "_brandfr_FR.xlat"},
      {"_brand.xlat sub/it_IT.xlat sub/_brandit_IT.xlat", true, "it_IT", "_brand.xlat",
       "_brand.xlat"},
      {"_brand.xlat de_de.xlat", true, "de_DE", "_brand.xlat", "_brand.xlat"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.files) + " / " + row.locale);
    TemporaryFolder temporary;
    std::vector<SupportFile> files;
    std::istringstream names(row.files);
    for (std::string name; names >> name;) {
      const bool inSub = name.rfind("sub/", 0) == 0;
      const std::string plain = inSub ? name.substr(4) : name;
      const std::string brand = plain.rfind("_brand", 0) == 0 ? "Brand\t" + plain + "\n" : "";
      files.push_back(File(inSub ? "sub" : "", plain, brand + "Text\t" + plain + "\n"));
    }
    ReplaceContext(std::make_unique<FormatOverrideContext>());
    WriteSupportFiles(U8(temporary.Path()), files);
    const LoadedTranslations loaded =
        LoadTranslationFiles(U8(temporary.Path()), files, row.localeInUse, U8(row.locale));
    EXPECT_EQ(Str(LookupFormat("Brand").text), row.brand);
    EXPECT_EQ(Str(LookupFormat("Text").text), row.text);
    ReplaceContext(nullptr);
  }
}

}  // namespace
