// Random format texts, values and override files: only the documented format errors may
// escape, and what succeeds keeps the properties every caller relies on.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/FormatArguments.h"
#include "text/FormatErrors.h"
#include "text/FormatWith.h"
#include "text/OverrideTable.h"

namespace {

// Texts built mostly from the bytes the parsers care about, with arbitrary bytes mixed in.
class RandomText {
 public:
  explicit RandomText(std::uint32_t seed) : engine_(seed) {}

  std::string Next(std::size_t maxLength) {
    static const char* const kFragments[] = {"{", "}", "_", "x", "ab", "Z9", "{x}", "{_tab}", "{_obrace}",
                                             "{_crlf}", "{_nl}", "{}", "\t", "\r", "\n", "\r\n", " ", "-"};
    std::string text;
    const std::size_t length = Uniform(maxLength);
    while (text.size() < length) {
      if (Uniform(4) == 0) {
        text.push_back(static_cast<char>(Uniform(256)));
      } else {
        text += kFragments[Uniform(std::size(kFragments) - 1)];
      }
    }
    return text;
  }

  std::size_t Uniform(std::size_t max) { return std::uniform_int_distribution<std::size_t>(0, max)(engine_); }

 private:
  std::mt19937 engine_;
};

TEST(FormatRandomInput, OnlyFormatErrorsEscapeAndLiteralTextIsKept) {
  RandomText random(20240611);
  int succeeded = 0;
  for (int round = 0; round < 5000; ++round) {
    const std::string format = random.Next(40);
    std::vector<std::string> values(random.Uniform(4));
    for (std::string& value : values) value = random.Next(8);
    const std::vector<FormatRange> ranges(values.begin(), values.end());
    SCOPED_TRACE(testing::PrintToString(format));
    try {
      const BoundArguments bound = BindArguments(format, ranges);
      const AutoUString<UTF8> result = FormatWith(format, bound);
      ++succeeded;
      if (format.find('{') == std::string::npos) {
        EXPECT_EQ(std::string(result.begin(), result.end()), format);
      }
      EXPECT_EQ(bound.size(), values.size());
    } catch (const FormatError&) {
      // Documented failures; anything else fails the test as an uncaught exception.
    }
  }
  // The generator must reach the success path often enough to mean something.
  EXPECT_GT(succeeded, 200);
}

TEST(FormatRandomInput, EveryParsedEntryIsFoundAndHoldsNoSeparator) {
  RandomText random(7);
  for (int round = 0; round < 2000; ++round) {
    const std::string file = random.Next(200);
    SCOPED_TRACE(testing::PrintToString(file));
    const OverrideTable table(file, "random.xlat");
    const std::size_t lineEnds = static_cast<std::size_t>(std::count(file.begin(), file.end(), '\r') +
                                                          std::count(file.begin(), file.end(), '\n'));
    EXPECT_LE(table.EntryCount(), lineEnds + 1);
    // A key that was parsed is a line's text before its first tab; probe a few of them.
    std::size_t start = 0;
    while (start <= file.size()) {
      const std::size_t end = std::min(file.find_first_of("\r\n", start), file.size());
      const std::string line = file.substr(start, end - start);
      const std::size_t tab = line.find('\t');
      if (tab != std::string::npos && tab != 0) {
        const std::string key = line.substr(0, tab);
        ASSERT_TRUE(table.HasOverride(key));
        const FormatRange value = table.GetOverride(key);
        EXPECT_EQ(std::find_first_of(value.begin, value.end, "\t\r\n", "\t\r\n" + 3), value.end);
      }
      start = end + 1;
    }
  }
}

}  // namespace
