// The seven transcoder directions against ICU's own converters on generated text, fed in random
// pieces and one unit at a time: the same output for well-formed input, InvalidTextEncoding for
// everything ICU rejects.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unicode/ustring.h>

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/StreamTranscoder.h"

namespace {

template <class E>
using Units = std::basic_string<typename E::Unit>;

// ICU's answer through UTF-16, or none when ICU finds the input malformed.
std::optional<std::u16string> ICUToUTF16(const std::string& utf8) {
  std::u16string out(utf8.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}
std::optional<std::u16string> ICUToUTF16(const std::u16string& utf16) {
  // ICU's UTF-16 to UTF-8 check is the strict one; reuse it for validity.
  std::string bytes(utf16.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8(bytes.data(), static_cast<int32_t>(bytes.size()), &length, utf16.data(),
              static_cast<int32_t>(utf16.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  return utf16;
}
std::optional<std::u16string> ICUToUTF16(const std::u32string& utf32) {
  std::u16string out(utf32.size() * 2 + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF32(out.data(), static_cast<int32_t>(out.size()), &length,
                 reinterpret_cast<const UChar32*>(utf32.data()), static_cast<int32_t>(utf32.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

template <class E>
Units<E> FromUTF16(const std::u16string& text);
template <>
Units<UTF16> FromUTF16<UTF16>(const std::u16string& text) { return text; }
template <>
Units<UTF8> FromUTF16<UTF8>(const std::u16string& text) {
  std::string out(text.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(), static_cast<int32_t>(text.size()), &status);
  out.resize(static_cast<std::size_t>(length));
  return out;
}
template <>
Units<UTF32> FromUTF16<UTF32>(const std::u16string& text) {
  std::u32string out(text.size() + 1, U'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF32(reinterpret_cast<UChar32*>(out.data()), static_cast<int32_t>(out.size()), &length, text.data(),
               static_cast<int32_t>(text.size()), &status);
  out.resize(static_cast<std::size_t>(length));
  return out;
}

// Ours, fed in the given piece lengths; none when it throws InvalidTextEncoding.
template <class Target, class Source>
std::optional<Units<Target>> Ours(const Units<Source>& input, const std::vector<std::size_t>& pieces) {
  UStringBuilder<Target> builder;
  StreamTranscoder<Target, Source> transcoder(builder);
  try {
    transcoder.Start();
    std::size_t at = 0;
    for (const std::size_t piece : pieces) {
      transcoder.Receive(input.data() + at, input.data() + at + piece);
      at += piece;
    }
    transcoder.End();
  } catch (const InvalidTextEncoding&) {
    return std::nullopt;
  }
  return Units<Target>(builder.Text().begin(), builder.Text().end());
}

// Random text in the source form: well-formed characters of every length mixed with the units
// that make it malformed (surrogates, overlong forms, values past U+10FFFF, stray bytes).
template <class E>
Units<E> RandomText(std::mt19937& engine);
template <>
Units<UTF8> RandomText<UTF8>(std::mt19937& engine) {
  static const char* const pieces[] = {"A", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",
                                       "\xEF\xBF\xBF", "", "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\x80", "\xBF",
                                       "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xF0\x80\x80\x80", "\xED\xA0\x80",
                                       "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF"};
  std::string text;
  const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 12)(engine);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  // Most texts stay well-formed so that both answers get exercised.
  const bool clean = engine() % 2 == 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t index = pick(engine);
    if (clean) index %= 6;
    text += pieces[index];
    if (index == 6) text += '\0';
  }
  return text;
}
template <>
Units<UTF16> RandomText<UTF16>(std::mt19937& engine) {
  static const char16_t units[] = {u'A', 0xE9, 0x4E2D, 0xFFFF, 0, 0xD83D, 0xDE00, 0xD800, 0xDBFF, 0xDC00, 0xDFFF};
  std::u16string text;
  const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 12)(engine);
  const bool clean = engine() % 2 == 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t index = std::uniform_int_distribution<std::size_t>(0, std::size(units) - 1)(engine);
    if (clean && index >= 5) {
      text += {char16_t(0xD800 + index), char16_t(0xDC00 + index * 7)};
    } else {
      text += units[index];
    }
  }
  return text;
}
template <>
Units<UTF32> RandomText<UTF32>(std::mt19937& engine) {
  static const char32_t units[] = {U'A', 0xE9, 0xFFFF, 0x1F600, 0x10FFFF, 0, 0xD800, 0xDFFF, 0x110000, 0xFFFFFFFF};
  std::u32string text;
  const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 12)(engine);
  const bool clean = engine() % 2 == 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t index = std::uniform_int_distribution<std::size_t>(0, std::size(units) - 1)(engine);
    if (clean) index %= 6;
    text += units[index];
  }
  return text;
}

std::vector<std::size_t> RandomPieces(std::mt19937& engine, std::size_t length) {
  std::vector<std::size_t> pieces;
  while (length > 0) {
    const std::size_t piece = std::uniform_int_distribution<std::size_t>(0, length)(engine);
    pieces.push_back(piece);
    length -= piece;
  }
  pieces.push_back(0);
  return pieces;
}

template <class Target, class Source>
void CompareWithICU(std::uint32_t seed) {
  std::mt19937 engine(seed);
  int wellFormed = 0;
  for (int round = 0; round < 2000; ++round) {
    const Units<Source> input = RandomText<Source>(engine);
    SCOPED_TRACE(testing::Message() << "round " << round);
    const std::optional<std::u16string> reference = ICUToUTF16(input);
    std::optional<Units<Target>> expected;
    if (reference) expected = FromUTF16<Target>(*reference);
    EXPECT_EQ((Ours<Target, Source>(input, {input.size()})), expected);
    EXPECT_EQ((Ours<Target, Source>(input, RandomPieces(engine, input.size()))), expected);
    EXPECT_EQ((Ours<Target, Source>(input, std::vector<std::size_t>(input.size(), 1))), expected);
    wellFormed += reference.has_value();
  }
  EXPECT_GT(wellFormed, 600);
  EXPECT_LT(wellFormed, 1800);
}

TEST(StreamTranscoderTest, EveryDirectionAgreesWithICUWhateverTheSplit) {
  CompareWithICU<UTF16, UTF8>(1);
  CompareWithICU<UTF32, UTF8>(2);
  CompareWithICU<UTF8, UTF16>(3);
  CompareWithICU<UTF32, UTF16>(4);
  CompareWithICU<UTF8, UTF32>(5);
  CompareWithICU<UTF16, UTF32>(6);
}

TEST(StreamTranscoderTest, NamedMalformedFormsThrowAndGoodTextBeforeThemIsDelivered) {
  EXPECT_EQ((Ours<UTF8, UTF16>(u"a\xDC00", {2})), std::nullopt);
  EXPECT_EQ((Ours<UTF8, UTF16>(u"a\xD800", {2})), std::nullopt);
  EXPECT_EQ((Ours<UTF16, UTF8>("\xE2\x82", {2})), std::nullopt);
  EXPECT_EQ((Ours<UTF16, UTF8>("\xC0\xAF", {2})), std::nullopt);
  EXPECT_EQ((Ours<UTF8, UTF32>(U"\x110000", {1})), std::nullopt);
  // The three-byte euro sign split after its first byte.
  EXPECT_EQ((Ours<UTF16, UTF8>("x\xE2\x82\xAC", {2, 2})), std::u16string(u"x\u20AC"));
  UStringBuilder<UTF8> builder;
  StreamTranscoder<UTF8, UTF16> transcoder(builder);
  const std::u16string text = u"ok\xDC00";
  EXPECT_THROW(transcoder.Receive(text.data(), text.data() + text.size()), InvalidTextEncoding);
  EXPECT_EQ(std::string(builder.Text().begin(), builder.Text().end()), "ok");
}

TEST(StreamTranscoderTest, USAsciiTakesSevenBitBytesOnly) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string input = {'a', static_cast<char>(byte)};
    const auto output = Ours<UTF8, USAscii>(input, {1, 1});
    if (byte < 0x80) {
      EXPECT_EQ(output, input) << byte;
    } else {
      EXPECT_EQ(output, std::nullopt) << byte;
    }
  }
}

}  // namespace
