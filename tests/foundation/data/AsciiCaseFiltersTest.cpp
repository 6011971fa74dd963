#include "foundation/data/AsciiCaseFilters.h"

#include <string>

#include <gtest/gtest.h>

namespace {

template <class F>
std::string FilterAll(const std::string& input) {
  F filter;
  char buffer[256];
  DataFilter::Input in{input.data(), input.data() + input.size()};
  DataFilter::Output out{buffer, buffer, buffer + sizeof buffer};
  filter.Filter(in, out);
  EXPECT_TRUE(in.Empty());
  EXPECT_TRUE(filter.IsFlushed());
  return std::string(out.begin, out.end);
}

TEST(AsciiCaseFilters, OnlyAsciiLettersChangeCase) {
  struct Row {
    std::string input, lowered, raised;
  };
  // The neighbours of the letter ranges, NUL and bytes above 0x7F whose low seven bits are letters.
  const Row rows[] = {
      {"", "", ""},
      {"Hello, World 42!", "hello, world 42!", "HELLO, WORLD 42!"},
      {"@AZ[`az{", "@az[`az{", "@AZ[`AZ{"},
      {std::string("a\0B", 3), std::string("a\0b", 3), std::string("A\0B", 3)},
      {"\xC1\xE1\xDA\xFA\x80\xFF", "\xC1\xE1\xDA\xFA\x80\xFF", "\xC1\xE1\xDA\xFA\x80\xFF"},
      {"\xC3\x89t\xC3\xA9", "\xC3\x89t\xC3\xA9", "\xC3\x89T\xC3\xA9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(FilterAll<Ascii::CaseLoweringFilter>(row.input), row.lowered);
    EXPECT_EQ(FilterAll<Ascii::CaseRaisingFilter>(row.input), row.raised);
  }
}

TEST(AsciiCaseFilters, CopiesOnlyWhatFitsAndAppendsAfterEarlierOutput) {
  const std::string input = "ABCDEFG";
  char buffer[5] = {'x', 'y', 0, 0, 0};
  DataFilter::Input in{input.data(), input.data() + input.size()};
  DataFilter::Output out{buffer, buffer + 2, buffer + sizeof buffer};
  Ascii::CaseLoweringFilter filter;
  filter.Filter(in, out);
  EXPECT_EQ(std::string(out.begin, out.end), "xyabc");
  EXPECT_EQ(std::string(in.begin, in.end), "DEFG");
}

}  // namespace
