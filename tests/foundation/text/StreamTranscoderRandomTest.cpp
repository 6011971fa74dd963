// Random inputs, mostly well-formed text with damage, through every transcoder direction with
// random chunking, judged against ICU's string conversions: where ICU accepts the input the
// transcoder must give ICU's units under every split, where ICU refuses it the transcoder must
// throw InvalidTextEncoding under every split.
#include "foundation/text/StreamTranscoder.h"

#include "foundation/platform/StandardExceptions.h"

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

template <class E>
using Units = std::basic_string<typename E::Unit>;

using IcuResult16 = std::optional<std::u16string>;

IcuResult16 IcuFromUTF8(const std::string& text) {
  std::u16string out(text.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                static_cast<int32_t>(text.size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

IcuResult16 IcuFromUTF32(const std::u32string& text) {
  const std::vector<UChar32> points(text.begin(), text.end());
  std::u16string out(2 * text.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF32(out.data(), static_cast<int32_t>(out.size()), &length, points.data(),
                 static_cast<int32_t>(points.size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::string> IcuToUTF8(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  std::string out(3 * text->size() + 1, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text->data(),
              static_cast<int32_t>(text->size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::u32string> IcuToUTF32(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  std::vector<UChar32> points(text->size() + 1);
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF32(points.data(), static_cast<int32_t>(points.size()), &length, text->data(),
               static_cast<int32_t>(text->size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  return std::u32string(points.begin(), points.begin() + length);
}

// ICU's reading of `input` in the target form, or nothing where ICU finds it malformed.
template <class Target, class Source>
std::optional<Units<Target>> IcuConverted(const Units<Source>& input) {
  if constexpr (std::is_same_v<Source, USAscii>) {
    const bool ascii = std::all_of(input.begin(), input.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::optional<std::string>(input) : std::nullopt;
  } else {
    IcuResult16 utf16;
    if constexpr (std::is_same_v<Source, UTF8>) utf16 = IcuFromUTF8(input);
    // UTF-16 is ICU's own form: ICU checks it by converting it onward.
    if constexpr (std::is_same_v<Source, UTF16>) {
      if (IcuToUTF32(input)) utf16 = input;
    }
    if constexpr (std::is_same_v<Source, UTF32>) utf16 = IcuFromUTF32(input);
    if constexpr (std::is_same_v<Target, UTF8>) return IcuToUTF8(utf16);
    if constexpr (std::is_same_v<Target, UTF16>) return utf16;
    if constexpr (std::is_same_v<Target, UTF32>) return IcuToUTF32(utf16);
  }
}

char32_t RandomCodePoint(std::mt19937& random) {
  static const char32_t kEdges[] = {0,      0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                    0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
  struct Range {
    char32_t first, last;
  };
  static const Range kRanges[] = {
      {0x20, 0x7E}, {0x80, 0x7FF}, {0x800, 0xD7FF}, {0xE000, 0xFFFF}, {0x10000, 0x10FFFF}};
  const unsigned pick = random() % 8;
  if (pick == 0) return kEdges[random() % std::size(kEdges)];
  const Range& range = kRanges[pick % std::size(kRanges)];
  return range.first + static_cast<char32_t>(random() % (range.last - range.first + 1));
}

// Units that break sequences: stray and truncating leads, continuations, lone surrogates and
// values past the code space.
template <class Source>
typename Source::Unit RandomBreaker(std::mt19937& random) {
  using Unit = typename Source::Unit;
  if constexpr (sizeof(Unit) == 1) {
    static const unsigned char kBytes[] = {0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
                                           0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 'a'};
    return static_cast<Unit>(kBytes[random() % std::size(kBytes)]);
  } else if constexpr (sizeof(Unit) == 2) {
    static const char16_t kUnits[] = {0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFF, u'a'};
    return kUnits[random() % std::size(kUnits)];
  } else {
    static const char32_t kUnits[] = {0xD800, 0xDFFF, 0x110000, 0x10FFFF, 0xFFFFFFFF, U'a'};
    return kUnits[random() % std::size(kUnits)];
  }
}

// Up to 64 units: well-formed text of random code points (7-bit for US-ASCII) encoded by ICU,
// often damaged by replacing, removing or cutting off units, sometimes plain random units.
template <class Source>
Units<Source> RandomInput(std::mt19937& random) {
  using Unit = typename Source::Unit;
  Units<Source> units;
  if (random() % 8 == 0) {
    for (unsigned n = random() % 65; n != 0; --n) units += static_cast<Unit>(random());
    return units;
  }
  std::u32string points;
  for (unsigned n = random() % 20; n != 0; --n) {
    points += std::is_same_v<Source, USAscii> ? static_cast<char32_t>(random() % 0x80)
                                              : RandomCodePoint(random);
  }
  if constexpr (sizeof(Unit) == 4) units = points;
  if constexpr (sizeof(Unit) == 2) units = *IcuFromUTF32(points);
  if constexpr (sizeof(Unit) == 1) units = *IcuToUTF8(IcuFromUTF32(points));
  units.resize(std::min<std::size_t>(units.size(), 64));
  const unsigned damages = random() % 2 == 0 ? 0 : 1 + random() % 3;
  for (unsigned damage = 0; damage != damages && !units.empty(); ++damage) {
    const std::size_t at = random() % units.size();
    switch (random() % 3) {
      case 0:
        units[at] = RandomBreaker<Source>(random);
        break;
      case 1:
        units.erase(at, 1);
        break;
      default:
        units.resize(at);
        break;
    }
  }
  return units;
}

template <class Target, class Source>
void CompareWithIcu(std::mt19937& random, int inputs) {
  int accepted = 0;
  for (int i = 0; i < inputs; ++i) {
    const Units<Source> input = RandomInput<Source>(random);
    const std::optional<Units<Target>> expected = IcuConverted<Target, Source>(input);
    accepted += expected.has_value();
    // Whole, one unit at a time, and three times at random cuts.
    for (int split = 0; split < 5; ++split) {
      std::vector<std::size_t> cuts;
      if (split == 1) {
        for (std::size_t at = 1; at < input.size(); ++at) cuts.push_back(at);
      }
      for (unsigned n = split < 2 ? 0 : 1 + random() % 4; n != 0; --n) {
        cuts.push_back(random() % (input.size() + 1));
      }
      std::sort(cuts.begin(), cuts.end());
      SCOPED_TRACE(testing::Message()
                   << "input " << testing::PrintToString(input) << ", " << cuts.size() << " cuts");
      UStringBuilder<Target> builder;
      StreamTranscoder<Target, Source> transcoder(builder);
      const auto feed = [&] {
        transcoder.Start();
        std::size_t from = 0;
        for (std::size_t cut : cuts) {
          transcoder.Receive(input.data() + from, input.data() + cut);
          from = cut;
        }
        transcoder.Receive(input.data() + from, input.data() + input.size());
        transcoder.End();
      };
      if (!expected) {
        ASSERT_THROW(feed(), InvalidTextEncoding);
        continue;
      }
      ASSERT_NO_THROW(feed());
      ASSERT_EQ(Units<Target>(builder.Text().begin(), builder.Text().end()), *expected);
    }
  }
  // Both verdicts must be well represented, or the comparison proves little.
  EXPECT_GT(accepted, inputs / 5) << typeid(Source).name() << " to " << typeid(Target).name();
  EXPECT_LT(accepted, inputs * 4 / 5) << typeid(Source).name() << " to " << typeid(Target).name();
}

TEST(StreamTranscoderRandom, EveryDirectionAgreesWithIcuUnderRandomSplits) {
  std::mt19937 random(20240611);
  constexpr int kInputs = 3000;
  CompareWithIcu<UTF16, UTF8>(random, kInputs);
  CompareWithIcu<UTF32, UTF8>(random, kInputs);
  CompareWithIcu<UTF8, UTF16>(random, kInputs);
  CompareWithIcu<UTF32, UTF16>(random, kInputs);
  CompareWithIcu<UTF8, UTF32>(random, kInputs);
  CompareWithIcu<UTF16, UTF32>(random, kInputs);
  CompareWithIcu<UTF8, USAscii>(random, kInputs);
}

}  // namespace
