// Character sets: name normalisation, the ICU converters with their three invalid-character
// actions and error texts, and conversions at the locale border (7-bit through the C library in
// the C locale, a plain copy in a UTF-8 locale).
#include "foundation/text/ICUConverter.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/ICUResult.h"
#include "foundation/text/LocaleConversion.h"
#include "foundation/text/NormalizeCharsetName.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string ToUTF8(ICUConverter& converter, const std::string& bytes) {
  return converter.ToAlgorithmic(AlgorithmicForm::kUTF8, bytes.data(), bytes.data() + bytes.size());
}

// The exception of class E that `run` throws; none, and a failure, when it throws nothing.
template <class E, class Run>
std::optional<E> Caught(Run run) {
  try {
    run();
  } catch (const E& error) {
    return error;
  }
  ADD_FAILURE() << "nothing thrown";
  return std::nullopt;
}

template <class E, class Run>
std::string What(Run run) {
  const std::optional<E> error = Caught<E>(run);
  return error ? error->what() : "";
}

TEST(NormalizeCharsetNameTest, AliasListsWinOverTheIANANameAndOthersKeepTheirName) {
  struct Row {
    const char* name;
    const char* normalized;
  };
  // Every Korean and Thai Windows alias, compared without regard to case and punctuation; the
  // Thai list only applies where ICU has no IANA name (TIS-620 has one); otherwise the IANA name
  // ICU gives, or the name unchanged when there is none.
  std::vector<Row> rows = {
      {"TIS-620", "TIS-620"},
      {"ISO-8859-1", "ISO_8859-1:1987"},
      {"latin1", "ISO_8859-1:1987"},
      {"utf8", "UTF-8"},
      {"ibm-943_P15A-2003", "Shift_JIS"},
      {"no-such-charset", "no-such-charset"},
      {"", ""},
  };
  for (const char* korean :
       {"windows-949-2000", "windows-949", "KS_C_5601-1987", "ks-c-5601-1989", "KSC_5601",
        "csKSC56011987", "KOREAN", "iso-ir-149", "ms949", "x-KSC5601"}) {
    rows.push_back({korean, "windows-949-2000"});
  }
  for (const char* thai : {"windows-874-2000", "windows-874", "ms874", "x-windows-874"}) {
    rows.push_back({thai, "windows-874-2000"});
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(NormalizeCharsetName(row.name), row.normalized);
  }
}

TEST(ICUConverterTest, UnknownNameAndUnknownActionThrowICUResult) {
  EXPECT_EQ(What<ICUResult>([] { ICUConverter converter("no-such-charset"); }),
            "UErrorCode=4 [U_FILE_ACCESS_ERROR] in ucnv_open");
  EXPECT_EQ(What<ICUResult>(
                [] { ICUConverter converter("UTF-8", static_cast<InvalidCharacterAction>(3)); }),
            "UErrorCode=1 [U_ILLEGAL_ARGUMENT_ERROR]");
  // An alias is opened under its normalised name.
  ICUConverter korean("KS_C_5601-1987");
  EXPECT_EQ(ToUTF8(korean, "\xB0\xA1"), "\xEA\xB0\x80");
}

TEST(ICUConverterTest, ActionsDecideWhatBecomesOfUnmappableBytes) {
  // 0xD2 is unassigned in windows-1253; 0xC1 is alpha.
  ICUConverter substitute("windows-1253", InvalidCharacterAction::kSubstitute);
  EXPECT_EQ(ToUTF8(substitute, "x\xD2\xC1"), "x\xEF\xBF\xBD\xCE\x91");
  ICUConverter escape("windows-1253", InvalidCharacterAction::kEscape);
  EXPECT_NE(ToUTF8(escape, "x\xD2y").find("D2"), std::string::npos);
  ICUConverter stop("windows-1253", InvalidCharacterAction::kStop);
  EXPECT_EQ(What<ICUResult>([&] { (void)ToUTF8(stop, "x\xD2y"); }),
            "UErrorCode=10 [U_INVALID_CHAR_FOUND] in ucnv_toAlgorithmic");
}

TEST(ICUConverterTest, StopOnIllegalSubstitutesOnlyUnmappableBytes) {
  ICUConverter lenient("UTF-8", InvalidCharacterAction::kSubstitute, IllegalSequences::kSubstitute);
  EXPECT_EQ(ToUTF8(lenient,
                   "a\xFF"
                   "b"),
            "a\xEF\xBF\xBD"
            "b");
  ICUConverter strict("UTF-8", InvalidCharacterAction::kSubstitute, IllegalSequences::kStop);
  EXPECT_EQ(What<ICUResult>([&] { (void)ToUTF8(strict, "a\xFF"); }),
            "UErrorCode=12 [U_ILLEGAL_CHAR_FOUND] in ucnv_toAlgorithmic");
  // An unassigned byte is unmappable, not illegal, so the strict form still substitutes it.
  ICUConverter strictLegacy("windows-1253", InvalidCharacterAction::kSubstitute,
                            IllegalSequences::kStop);
  EXPECT_EQ(ToUTF8(strictLegacy, "\xD2"), "\xEF\xBF\xBD");
}

TEST(ICUConverterTest, LongResultsOutgrowTheFirstBufferAndFormsOutsideTheEnumerationAreRefused) {
  // Escapes take several bytes per input byte, well past the first guess of the output size.
  ICUConverter escape("windows-1253", InvalidCharacterAction::kEscape);
  const std::string one = ToUTF8(escape, "\xD2");
  std::string expected;
  for (int i = 0; i < 500; ++i) expected += one;
  EXPECT_GT(one.size(), 2u);
  EXPECT_EQ(ToUTF8(escape, std::string(500, '\xD2')), expected);
  ICUConverter latin1("ISO-8859-1");
  EXPECT_EQ(ToUTF8(latin1, "caf\xE9 \xFC"), "caf\xC3\xA9 \xC3\xBC");
  EXPECT_EQ(ToUTF8(latin1, ""), "");
  EXPECT_EQ(latin1.ToAlgorithmic(AlgorithmicForm::kUTF16BigEndian, "a\xE9", "a\xE9" + 2),
            std::string("\0a\0\xE9", 4));
  // A form outside the enumeration never reaches ICU as some other converter type.
  EXPECT_EQ(What<ICUResult>([&] {
              (void)latin1.ToAlgorithmic(static_cast<AlgorithmicForm>(99), "a", "a" + 1);
            }),
            "UErrorCode=1 [U_ILLEGAL_ARGUMENT_ERROR] in ucnv_toAlgorithmic");
}

// An input and what becomes of it each way: the text, or "!" and the exception's class.
struct Row {
  std::string input, toUTF8, fromUTF8;
};

std::string Converted(bool fromUTF8, const std::string& input) {
  try {
    if (fromUTF8) return UTF8ToLocale(input.data(), input.data() + input.size());
    const UString8 text = LocaleToUTF8(input.data(), input.data() + input.size());
    return std::string(text.begin(), text.end());
  } catch (const UnixPlatform::MultiByteToWideConvertError&) {
    return "!MultiByteToWideConvertError";
  } catch (const UnixPlatform::WideToMultiByteConvertError&) {
    return "!WideToMultiByteConvertError";
  } catch (const InvalidTextEncoding&) {
    return "!InvalidTextEncoding";
  }
}

const std::string kAllSevenBit = [] {
  std::string text;
  for (int byte = 0; byte < 0x80; ++byte) text += static_cast<char>(byte);
  return text;
}();

// Runs the rows in the first of `locales` the system has, then puts the previous locale back.
void ExpectRowsIn(std::initializer_list<const char*> locales, bool isUTF8,
                  std::initializer_list<Row> rows) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  bool found = false;
  for (const char* name : locales) found = found || std::setlocale(LC_ALL, name) != nullptr;
  ASSERT_TRUE(found) << "no such locale";
  EXPECT_EQ(LocaleIsUTF8(), isUTF8);
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.input));
    EXPECT_EQ(Converted(false, row.input), row.toUTF8);
    EXPECT_EQ(Converted(true, row.input), row.fromUTF8);
  }
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(LocaleConversion, CLocaleConvertsSevenBitTextAndRefusesTheRest) {
  ExpectRowsIn({"C"}, false,
               {{"", "", ""},
                {kAllSevenBit, kAllSevenBit, kAllSevenBit},
                {"caf\xC3\xA9", "!MultiByteToWideConvertError", "!WideToMultiByteConvertError"},
                {"ab\xC3", "!MultiByteToWideConvertError", "!InvalidTextEncoding"}});
  const UString8 terminated = LocaleToUTF8("seven-bit text");
  EXPECT_EQ(std::string(terminated.begin(), terminated.end()), "seven-bit text");
}

// Not even malformed bytes are looked at: the locale's text is already UTF-8.
TEST(LocaleConversion, UTF8LocaleCopiesTheBytesAsTheyAre) {
  const std::string text = "caf\xC3\xA9 \xF0\x9F\x98\x80", malformed = "ab\xC3\xFF\xC0\x80";
  ExpectRowsIn({"C.UTF-8", "en_US.UTF-8", "C.utf8"}, true,
               {{text, text, text},
                {malformed, malformed, malformed},
                {kAllSevenBit, kAllSevenBit, kAllSevenBit}});
}

// A locale the test makes for itself under LOCPATH, and takes away again; unset when the system
// cannot make it.
class PrivateLocale {
 public:
  PrivateLocale(const char* name, const char* definition, const char* charmap) {
    char folder[] = "/tmp/qvx-locale-XXXXXX";
    if (mkdtemp(folder) == nullptr) return;
    folder_ = folder;
    if (const char* saved = std::getenv("LOCPATH")) savedPath_ = saved;
    // -c: localedef refuses a character map that is not ASCII compatible otherwise.
    const std::string command = std::string("localedef -c -f ") + charmap + " -i " + definition +
                                " " + folder_ + "/" + name + " >/dev/null 2>&1";
    // Its status is not telling: -c makes the warning a non-zero exit. setlocale decides below.
    if (std::system(command.c_str()) == -1) return;
    setenv("LOCPATH", folder_.c_str(), 1);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    made_ = std::setlocale(LC_ALL, name) != nullptr;
    std::setlocale(LC_ALL, saved.c_str());
  }
  ~PrivateLocale() {
    savedPath_ ? setenv("LOCPATH", savedPath_->c_str(), 1) : unsetenv("LOCPATH");
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  PrivateLocale(const PrivateLocale&) = delete;
  PrivateLocale& operator=(const PrivateLocale&) = delete;

  [[nodiscard]] bool Made() const noexcept { return made_; }

 private:
  std::string folder_;
  std::optional<std::string> savedPath_;
  bool made_ = false;
};

// Seven-bit text is not the same bytes in every encoding: Shift_JIS reads 0x5C as the yen sign
// and 0x7E as an overline, so no conversion may take seven-bit bytes as already converted.
TEST(LocaleConversion, LegacyLocaleWhoseSevenBitBytesDifferIsStillConverted) {
  const PrivateLocale locale("ja_JP.SJIS", "ja_JP", "SHIFT_JIS");
  if (!locale.Made()) GTEST_SKIP() << "localedef cannot make a Shift_JIS locale here";
  ExpectRowsIn({"ja_JP.SJIS"}, false,
               {{"plain text", "plain text", "plain text"},
                {"C:\\dir",
                 "C:\xC2\xA5"
                 "dir",
                 "C:\\dir"},
                {"a~b",
                 "a\xE2\x80\xBE"
                 "b",
                 "a~b"}});
  // And back in the C locale the same bytes are seven-bit ASCII again.
  ExpectRowsIn({"C"}, false, {{"C:\\dir", "C:\\dir", "C:\\dir"}, {"a~b", "a~b", "a~b"}});
}

// A NUL inside the text is a character like any other, whichever way the text goes.
TEST(LocaleConversion, EmbeddedNulSurvivesBothWays) {
  const std::string text("a\0b", 3);
  ExpectRowsIn({"C"}, false, {{text, text, text}});
  ExpectRowsIn({"C.UTF-8", "en_US.UTF-8", "C.utf8"}, true, {{text, text, text}});
}

// Appending converts onto what is there, and a text that fails leaves no part of itself behind:
// the seven-bit start of a refused text must not stay in the target.
TEST(LocaleConversion, AppendingKeepsTheTargetWholeWhenATextIsRefused) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  std::string target = "item: ";
  const std::string good = "ok", bad = "caf\xC3\xA9";
  AppendUTF8ToLocale(target, good.data(), good.data() + good.size());
  EXPECT_THROW(AppendUTF8ToLocale(target, bad.data(), bad.data() + bad.size()),
               UnixPlatform::WideToMultiByteConvertError);
  EXPECT_EQ(target, "item: ok");
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
