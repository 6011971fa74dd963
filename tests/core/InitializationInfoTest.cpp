#include "core/InitializationInfo.h"

#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

InitializationInfo Read(const std::string& fields) {
  return ReadInitializationInfo(
      *ParseXMLDocument("<InitializationInfo>" + fields + "</InitializationInfo>"));
}

TEST(InitializationInfo, EmptyElementHasNoFolderNoFilesAndDefaultSettings) {
  const InitializationInfo info = Read("");
  EXPECT_EQ(Str(info.baseDirectory), "");
  EXPECT_TRUE(info.supportFiles.empty());
  EXPECT_TRUE(info.settings.allowSnooze);  // the settings defaults are the settings tests' own
}

TEST(InitializationInfo, EverySupportFilesElementIsOneFileInDocumentOrder) {
  const InitializationInfo info = Read(
      "<SupportFiles><FileName>a.xlat</FileName><Content>YQ==</Content></SupportFiles>"
      "<BaseDirectory>/first</BaseDirectory>"
      "<SupportFiles><SubFolder>img</SubFolder><FileName>x</FileName><FileName>b.png</FileName>"
      "<Content>Yg==\nYg==</Content><Extra>1</Extra></SupportFiles>"
      "<SupportFiles></SupportFiles>"
      "<BaseDirectory>/var/client/ui</BaseDirectory>");
  EXPECT_EQ(Str(info.baseDirectory), "/var/client/ui");
  // Each file as name/subfolder/content; contents are kept as sent, line breaks go when decoded.
  std::string files;
  for (const SupportFile& file : info.supportFiles) {
    files += Str(file.fileName) + "/" + Str(file.subFolder) + "/" + Str(file.content) + "|";
  }
  EXPECT_EQ(files, "a.xlat//YQ==|b.png/img/Yg==\nYg==|//|");
}

TEST(InitializationInfo, SettingsComeFromTheLastSettingsElement) {
  const InitializationInfo info = Read(
      "<InitialUISettings><AllowSnooze>0</AllowSnooze><TrayMode>x</TrayMode></InitialUISettings>"
      "<InitialUISettings><RemindInterval>PT1H</RemindInterval></InitialUISettings>");
  EXPECT_EQ(info.settings.remindInterval, TimeInterval::Hours(1));
  EXPECT_TRUE(info.settings.allowSnooze);
  // Settings keys outside the settings element are not settings.
  EXPECT_TRUE(Read("<AllowSnooze>0</AllowSnooze>").settings.allowSnooze);
}

}  // namespace
