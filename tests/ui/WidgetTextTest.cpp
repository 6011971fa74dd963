// The texts the dialogs hand to widgets: converted to the locale's encoding, cut for a label,
// and shown as a marker when the locale cannot hold them.
// Google Test first: the X headers define None and Bool, names it uses.
#include <gtest/gtest.h>

#include "ui/FormatBuiltIn.h"
#include "ui/WidgetTable.h"

#include <clocale>
#include <string>

namespace {

class CLocale : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

// An item made of a title and a looked-up text, appended one after the other: what cannot be
// shown becomes the marker alone, with nothing of the text before the failing character.
TEST_F(CLocale, AppendedTextsAreShownOrMarkedWhole) {
  std::string item;
  AppendLocaleLabel(item, UString8("Security update"));
  item += "  --  ";
  AppendShownText(item, UString8("Mon, 01 Jan 2024 caf\xC3\xA9"));
  EXPECT_EQ(item, std::string("Security update  --  ") + kInvalidString);
  EXPECT_EQ(ShownText(UString8("plain")), "plain");
}

// A label longer than the server takes is cut before the character the limit falls in.
TEST_F(CLocale, AppendedLabelIsCutLikeALabel) {
  const std::string utf8Locale = "C.UTF-8";
  ASSERT_NE(std::setlocale(LC_ALL, utf8Locale.c_str()), nullptr);
  const std::string title = std::string(kLabelBytes - 1, 'a') + "\xC3\xA9" + "tail";
  std::string item = ">";
  AppendLocaleLabel(item, UString8(title.c_str()));
  EXPECT_EQ(item, ">" + std::string(kLabelBytes - 1, 'a'));
  EXPECT_EQ(LocaleLabel(UString8(title.c_str())), std::string(kLabelBytes - 1, 'a'));
}

}  // namespace
