// Conversions between the locale's narrow text and UTF-8, in a UTF-8 locale (a plain copy) and
// in the C locale (through the C library's wide characters, which cannot spell non-ASCII text).
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/LocaleConversion.h"

namespace {

// Switches the character-type category for one test and puts the previous one back.
class LocaleScope {
 public:
  explicit LocaleScope(const char* name) : previous_(std::setlocale(LC_CTYPE, nullptr)) {
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
  }
  ~LocaleScope() { std::setlocale(LC_CTYPE, previous_.c_str()); }
  [[nodiscard]] bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

std::string Str(const AutoUString<UTF8>& text) { return std::string(text.begin(), text.end()); }

TEST(LocaleConversionTest, UTF8LocaleCopiesEvenMalformedBytes) {
  LocaleScope scope("C.UTF-8");
  if (!scope.ok()) GTEST_SKIP() << "no C.UTF-8 locale";
  EXPECT_TRUE(LocaleIsUTF8());
  const std::string bytes = "caf\xC3\xA9 \xFF";
  EXPECT_EQ(Str(LocaleToUTF8(bytes.data(), bytes.data() + bytes.size())), bytes);
  EXPECT_EQ(UTF8ToLocale(bytes.data(), bytes.data() + bytes.size()), bytes);
}

TEST(LocaleConversionTest, CLocaleTakesASCIIAndRejectsTheRest) {
  LocaleScope scope("C");
  ASSERT_TRUE(scope.ok());
  EXPECT_FALSE(LocaleIsUTF8());
  EXPECT_EQ(Str(LocaleToUTF8("plain text")), "plain text");
  const std::string ascii = "plain";
  EXPECT_EQ(UTF8ToLocale(ascii.data(), ascii.data() + ascii.size()), "plain");
  const std::string accented = "caf\xC3\xA9";
  EXPECT_THROW((void)UTF8ToLocale(accented.data(), accented.data() + accented.size()),
               UnixPlatform::WideToMultiByteConvertError);
  const std::string malformed = "caf\xC3";
  EXPECT_THROW((void)UTF8ToLocale(malformed.data(), malformed.data() + malformed.size()),
               InvalidTextEncoding);
}

}  // namespace
