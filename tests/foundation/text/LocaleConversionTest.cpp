// Conversions at the locale border, run in the C locale (7-bit, through the C library's
// multibyte functions) and in a UTF-8 locale (a plain copy), each direction with its own error.
#include "foundation/text/LocaleConversion.h"

#include "foundation/platform/StandardExceptions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

enum class Direction { kToUTF8, kFromUTF8 };

struct Row {
  Direction direction;
  std::string input;
  std::string result;  // the converted text, or "!" and the exception's class
};

// The converted text, or the class of the exception the conversion threw.
std::string Converted(const Row& row) {
  try {
    if (row.direction == Direction::kFromUTF8) {
      return UTF8ToLocale(row.input.data(), row.input.data() + row.input.size());
    }
    const UString8 text = LocaleToUTF8(row.input.data(), row.input.data() + row.input.size());
    return std::string(text.begin(), text.end());
  } catch (const UnixPlatform::MultiByteToWideConvertError&) {
    return "!MultiByteToWideConvertError";
  } catch (const UnixPlatform::WideToMultiByteConvertError&) {
    return "!WideToMultiByteConvertError";
  } catch (const InvalidTextEncoding&) {
    return "!InvalidTextEncoding";
  }
}

void ExpectRows(std::initializer_list<Row> rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << (row.direction == Direction::kToUTF8 ? "to UTF-8 " : "from UTF-8 ")
                 << testing::PrintToString(row.input));
    EXPECT_EQ(Converted(row), row.result);
  }
}

const std::string kAllSevenBit = [] {
  std::string text;
  for (int byte = 0; byte < 0x80; ++byte) text += static_cast<char>(byte);
  return text;
}();

// Switches the whole process locale for one test and puts the previous one back.
class LocaleConversionTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_ALL, nullptr); }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  static bool Use(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      if (std::setlocale(LC_ALL, name) != nullptr) return true;
    }
    return false;
  }

 private:
  std::string saved_;
};

TEST_F(LocaleConversionTest, CLocaleConvertsSevenBitTextAndRefusesTheRest) {
  ASSERT_TRUE(Use({"C"}));
  EXPECT_FALSE(LocaleIsUTF8());
  ExpectRows({
      {Direction::kToUTF8, "", ""},
      {Direction::kToUTF8, kAllSevenBit, kAllSevenBit},
      {Direction::kToUTF8, "caf\xC3\xA9", "!MultiByteToWideConvertError"},
      {Direction::kFromUTF8, "", ""},
      {Direction::kFromUTF8, kAllSevenBit, kAllSevenBit},
      {Direction::kFromUTF8, "caf\xC3\xA9", "!WideToMultiByteConvertError"},
      {Direction::kFromUTF8, "ab\xC3", "!InvalidTextEncoding"},
      {Direction::kFromUTF8, "\xC0\x80", "!InvalidTextEncoding"},
  });
  const UString8 terminated = LocaleToUTF8("seven-bit text");
  EXPECT_EQ(std::string(terminated.begin(), terminated.end()), "seven-bit text");
}

TEST_F(LocaleConversionTest, UTF8LocaleCopiesTheBytesAsTheyAre) {
  if (!Use({"C.UTF-8", "en_US.UTF-8", "C.utf8", "en_US.utf8"})) {
    GTEST_SKIP() << "no UTF-8 locale is installed";
  }
  EXPECT_TRUE(LocaleIsUTF8());
  // Not even malformed bytes are looked at: the locale's text is already UTF-8.
  const std::string text = "caf\xC3\xA9 \xF0\x9F\x98\x80";
  const std::string malformed = "ab\xC3\xFF\xC0\x80";
  ExpectRows({
      {Direction::kToUTF8, text, text},
      {Direction::kToUTF8, malformed, malformed},
      {Direction::kToUTF8, kAllSevenBit, kAllSevenBit},
      {Direction::kFromUTF8, text, text},
      {Direction::kFromUTF8, malformed, malformed},
  });
}

}  // namespace
