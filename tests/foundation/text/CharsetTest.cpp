// Character sets: name normalisation, the ICU converters with their three invalid-character
// actions and error texts, the process's own charset name, and conversions at the locale border
// (7-bit through the C library in the C locale, a plain copy in a UTF-8 locale).
#include "foundation/text/ICUConverter.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/ICUResult.h"
#include "foundation/text/LocaleCharsetName.h"
#include "foundation/text/LocaleConversion.h"
#include "foundation/text/NormalizeCharsetName.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

std::u16string AsStd(const AutoUString<UTF16>& text) {
  return std::u16string(text.begin(), text.end());
}

std::string FromUnicode(ICUConverter& converter, const std::u16string& text) {
  return converter.FromUnicode(text.data(), text.data() + text.size());
}

std::u16string ToUnicode(ICUConverter& converter, const std::string& bytes) {
  return AsStd(converter.ToUnicode(bytes.data(), bytes.data() + bytes.size()));
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

TEST(ICUConverterTest, OpensUnderTheNormalisedCanonicalName) {
  ICUConverter korean("KS_C_5601-1987");
  EXPECT_EQ(korean.Name(), "windows-949-2000");
  EXPECT_FALSE(korean.IsUTF8());
  ICUConverter utf8("utf8");
  EXPECT_EQ(utf8.Name(), "UTF-8");
  EXPECT_TRUE(utf8.IsUTF8());
  EXPECT_EQ(ICUConverter(nullptr).Name(), NormalizeCharsetName(ucnv_getDefaultName()));
}

TEST(ICUConverterTest, UnknownNameAndUnknownActionThrowICUResult) {
  EXPECT_EQ(What<ICUResult>([] { ICUConverter converter("no-such-charset"); }),
            "UErrorCode=4 [U_FILE_ACCESS_ERROR] in ucnv_open");
  const auto unknownAction = Caught<ICUResult>(
      [] { ICUConverter converter("UTF-8", static_cast<InvalidCharacterAction>(3)); });
  ASSERT_TRUE(unknownAction);
  EXPECT_EQ(unknownAction->Detail(), "InvalidCharacterAction");
  EXPECT_STREQ(unknownAction->what(), "UErrorCode=1 [U_ILLEGAL_ARGUMENT_ERROR]");
}

TEST(ICUConverterTest, ActionsDecideWhatBecomesOfUnmappableCharacters) {
  // U+2713 has no place in windows-1252, the euro sign has (0x80); 0xD2 is unassigned in
  // windows-1253.
  const std::u16string text = u"a\u20ACb\u2713";
  ICUConverter substitute("windows-1252", InvalidCharacterAction::kSubstitute);
  EXPECT_EQ(FromUnicode(substitute, text), std::string("a\x80") + "b?");
  ICUConverter escape("windows-1252", InvalidCharacterAction::kEscape);
  EXPECT_EQ(FromUnicode(escape, text), std::string("a\x80") + "b{U+2713}");
  ICUConverter stop("windows-1252", InvalidCharacterAction::kStop);
  const auto unmappable = Caught<CharacterSetResult>([&] { (void)FromUnicode(stop, text); });
  ASSERT_TRUE(unmappable);
  EXPECT_EQ(unmappable->CharsetName(), "windows-1252");
  EXPECT_STREQ(unmappable->what(),
               "UErrorCode=10 [U_INVALID_CHAR_FOUND] in ucnv_fromUChars [\"\\xe2\\x9c\\x93\"]");
  ICUConverter greekSubstitute("windows-1253", InvalidCharacterAction::kSubstitute);
  EXPECT_EQ(ToUnicode(greekSubstitute, "x\xD2y"), u"x\uFFFDy");
  ICUConverter greekEscape("windows-1253", InvalidCharacterAction::kEscape);
  EXPECT_NE(ToUnicode(greekEscape, "x\xD2y").find(u"D2"), std::u16string::npos);
  ICUConverter greekStop("windows-1253", InvalidCharacterAction::kStop);
  EXPECT_EQ(What<CharacterSetResult>([&] { (void)ToUnicode(greekStop, "x\xD2y"); }),
            "UErrorCode=10 [U_INVALID_CHAR_FOUND] in ucnv_toUChars [\"\\xd2\"]");
}

TEST(ICUConverterTest, StopOnIllegalSubstitutesOnlyUnmappableCharacters) {
  ICUConverter lenient("UTF-8", InvalidCharacterAction::kSubstitute, IllegalSequences::kSubstitute);
  EXPECT_EQ(ToUnicode(lenient, std::string("a\xFF") + "b"), u"a\uFFFDb");
  ICUConverter strict("UTF-8", InvalidCharacterAction::kSubstitute, IllegalSequences::kStop);
  const auto illegal = Caught<CharacterSetResult>([&] { (void)ToUnicode(strict, "a\xFF"); });
  ASSERT_TRUE(illegal);
  EXPECT_EQ(illegal->ErrorCode(), U_ILLEGAL_CHAR_FOUND);
  EXPECT_EQ(illegal->OffendingBytes(), "\xFF");
  // An unassigned byte is unmappable, not illegal, so the strict form still substitutes it.
  ICUConverter strictLegacy("windows-1253", InvalidCharacterAction::kSubstitute,
                            IllegalSequences::kStop);
  EXPECT_EQ(ToUnicode(strictLegacy, "\xD2"), u"\uFFFD");
}

TEST(ICUConverterTest, LongResultsOutgrowTheFirstBuffer) {
  // Escapes are eight bytes per character, well past the first guess of the output size.
  const std::u16string checks(500, u'\u2713');
  std::string expected;
  for (int i = 0; i < 500; ++i) expected += "{U+2713}";
  ICUConverter escape("ISO-8859-1", InvalidCharacterAction::kEscape);
  EXPECT_EQ(FromUnicode(escape, checks), expected);
  ICUConverter utf8("UTF-8");
  const std::string bytes = FromUnicode(utf8, checks);
  EXPECT_EQ(ICUConverter::Convert(escape, utf8, bytes.data(), bytes.data() + bytes.size()),
            expected);
}

TEST(ICUConverterTest, AlgorithmicConversionsAndTheirErrors) {
  ICUConverter latin1("ISO-8859-1");
  const std::string utf8 = "caf\xC3\xA9 \xC3\xBC";
  const std::string bytes =
      latin1.FromAlgorithmic(AlgorithmicForm::kUTF8, utf8.data(), utf8.data() + utf8.size());
  EXPECT_EQ(bytes, "caf\xE9 \xFC");
  EXPECT_EQ(latin1.ToAlgorithmic(AlgorithmicForm::kUTF8, bytes.data(), bytes.data() + bytes.size()),
            utf8);
  EXPECT_EQ(latin1.FromAlgorithmic(AlgorithmicForm::kUTF8, utf8.data(), utf8.data()), "");
  EXPECT_EQ(latin1.ToAlgorithmic(AlgorithmicForm::kUTF16BigEndian, "a\xE9", "a\xE9" + 2),
            std::string("\0a\0\xE9", 4));
  // A form outside the enumeration never reaches ICU as some other converter type.
  const auto outside = Caught<ICUResult>(
      [&] { (void)latin1.ToAlgorithmic(static_cast<AlgorithmicForm>(99), "a", "a" + 1); });
  ASSERT_TRUE(outside);
  EXPECT_EQ(outside->FunctionName(), "ucnv_toAlgorithmic");
  ICUConverter ascii("US-ASCII");
  EXPECT_EQ(What<ICUResult>([&] {
              (void)ICUConverter::Convert(ascii, latin1, bytes.data(), bytes.data() + bytes.size());
            }),
            "UErrorCode=10 [U_INVALID_CHAR_FOUND] in ucnv_convertEx");
}

TEST(LocaleCharsetNameTest, IsTheNormalisedDefaultNameComputedOnce) {
  const char* name = LocaleCharsetName();
  EXPECT_EQ(std::string(name), NormalizeCharsetName(ucnv_getDefaultName()));
  EXPECT_EQ(LocaleCharsetName(), name);
  // Once known, the name no longer depends on which entry point asks.
  EXPECT_EQ(LocaleCharsetNameInUTF8Locale(), name);
}

TEST(LocaleCharsetNameTest, SecondEntryPointPrefersAUTF8Locale) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // A fresh process, so that the name is not yet known.
  EXPECT_EXIT(
      {
        const std::string name = LocaleCharsetNameInUTF8Locale();
        const char* locale = std::setlocale(LC_ALL, nullptr);
        const bool switched = std::strcmp(locale, "en_US.UTF-8") == 0;
        std::_Exit(
            name == (switched ? std::string("utf-8") : NormalizeCharsetName(ucnv_getDefaultName()))
                ? 0
                : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(LocaleCharsetNameTest, FixedBufferHoldsFortyEightBytes) {
  FixedCharsetName name;
  const std::string longest(48, 'x');
  name.Assign(longest.c_str());
  EXPECT_EQ(name.c_str(), longest);
  EXPECT_THROW(name.Assign((longest + "x").c_str()), ConstDataCapacityExceeded);
  EXPECT_EQ(name.c_str(), longest);
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

}  // namespace
