#include "core/InitializationInfo.h"

#include "foundation/platform/StandardExceptions.h"
#include "text/xml/Numerals.h"
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
  ASSERT_EQ(info.supportFiles.size(), 3u);
  EXPECT_EQ(Str(info.supportFiles[0].fileName), "a.xlat");
  EXPECT_EQ(Str(info.supportFiles[0].subFolder), "");
  EXPECT_EQ(Str(info.supportFiles[0].content), "YQ==");
  EXPECT_EQ(Str(info.supportFiles[1].fileName), "b.png");
  EXPECT_EQ(Str(info.supportFiles[1].subFolder), "img");
  // Kept as sent; line breaks go when the content is decoded.
  EXPECT_EQ(Str(info.supportFiles[1].content), "Yg==\nYg==");
  EXPECT_EQ(Str(info.supportFiles[2].fileName) + Str(info.supportFiles[2].content), "");
}

TEST(InitializationInfo, SettingsComeFromTheLastSettingsElement) {
  const InitializationInfo info = Read(
      "<InitialUISettings><AllowSnooze>0</AllowSnooze><TrayMode>x</TrayMode></InitialUISettings>"
      "<InitialUISettings><RemindInterval>PT1H</RemindInterval></InitialUISettings>");
  EXPECT_EQ(info.settings.remindInterval, 3600000000);
  EXPECT_TRUE(info.settings.allowSnooze);
  // Settings keys outside the settings element are not settings.
  EXPECT_TRUE(Read("<AllowSnooze>0</AllowSnooze>").settings.allowSnooze);
  EXPECT_THROW((void)Read("<InitialUISettings><TrayMode>x</TrayMode></InitialUISettings>"),
               NotANumeral);
}

}  // namespace
