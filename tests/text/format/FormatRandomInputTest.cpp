// Random format texts, values and override files under a fixed seed: only format errors may
// escape, and what succeeds keeps the properties callers rely on.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatWith.h"
#include "text/format/OverrideTable.h"

namespace {

// Mostly the bytes the parsers care about, with arbitrary bytes mixed in.
std::string RandomText(std::mt19937& engine, std::size_t maxLength) {
  static const char* const kFragments[] = {"{",   "}",      "_",         "x",     "Z9",
                                           "{x}", "{_tab}", "{_obrace}", "{_nl}", "{}",
                                           "\t",  "\r",     "\n",        " ",     "-"};
  auto uniform = [&engine](std::size_t max) {
    return std::uniform_int_distribution<std::size_t>(0, max)(engine);
  };
  std::string text;
  for (std::size_t length = uniform(maxLength); text.size() < length;) {
    if (uniform(3) == 0) {
      text.push_back(static_cast<char>(uniform(255)));
    } else {
      text += kFragments[uniform(std::size(kFragments) - 1)];
    }
  }
  return text;
}

TEST(FormatRandomInput, OnlyFormatErrorsEscapeAndTextWithoutBracesIsKept) {
  std::mt19937 engine(20240611);
  int succeeded = 0;
  for (int round = 0; round < 5000; ++round) {
    const std::string format = RandomText(engine, 40);
    std::vector<std::string> values(engine() % 4);
    for (std::string& value : values) value = RandomText(engine, 8);
    SCOPED_TRACE(testing::PrintToString(format));
    try {
      const AutoUString<UTF8> result = FormatWith(
          format, BindArguments(format, std::vector<ByteRange>(values.begin(), values.end())));
      ++succeeded;
      if (format.find('{') == std::string::npos) {
        EXPECT_EQ(std::string(result.begin(), result.end()), format);
      }
    } catch (const FormatError&) {
      // documented; anything else escapes and fails the test
    }
  }
  EXPECT_GT(succeeded, 200);  // the success path must be reached often enough to mean something
}

TEST(FormatRandomInput, EveryLineWithAKeyIsFoundWithAValueFreeOfSeparators) {
  std::mt19937 engine(7);
  for (int round = 0; round < 2000; ++round) {
    const std::string file = RandomText(engine, 200);
    SCOPED_TRACE(testing::PrintToString(file));
    const OverrideTable table(file, "random.xlat");
    for (std::size_t start = 0; start <= file.size();) {
      const std::size_t end = std::min(file.find_first_of("\r\n", start), file.size());
      const std::size_t tab = file.find('\t', start);
      if (tab > start && tab < end) {
        const ByteRange value = table.GetOverride(file.substr(start, tab - start));
        EXPECT_EQ(std::string(value.begin, value.end).find_first_of("\t\r\n"), std::string::npos);
      }
      start = end + 1;
    }
  }
}

}  // namespace
