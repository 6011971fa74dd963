#include "text/FormatWith.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/FormatArguments.h"
#include "text/FormatErrors.h"

namespace {

std::string Format(const std::string& format, const std::vector<FormatRange>& values) {
  const AutoUString<UTF8> result = FormatWith(format, BindArguments(format, values));
  return std::string(result.begin(), result.end());
}

TEST(FormatWith, FillsVariablesAndKeepsLiterals) {
  struct Row {
    const char* format;
    std::vector<FormatRange> values;
    std::string expected;
  };
  const Row rows[] = {
      {"There are {x} pending actions.", {"3"}, "There are 3 pending actions."},
      {"", {}, ""},
      {"plain", {}, "plain"},
      {"{a}{b}", {"1", "2"}, "12"},
      {"{b} before {a}", {"B", "A"}, "B before A"},
      {"a}b", {}, "a}b"},
      {"}{x}}", {"v"}, "}v}"},
      {"{x}", {""}, ""},
      {"{_obrace}x{_cbrace}", {}, "{x}"},
      {"{_tab}|{_cr}|{_lf}|{_crlf}", {}, "\t|\r|\n|\r\n"},
      {"{_obrace}{n}{_cbrace}", {"7"}, "{7}"},
      // A value is data: its braces are not read again.
      {"[{v}]", {"{_tab}"}, "[{_tab}]"},
      // The first byte of a name is not checked further.
      {"{-x}", {"ok"}, "ok"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(Format(row.format, row.values), row.expected);
  }
}

TEST(FormatWith, SameNameTwiceShowsTheValueThatSortsFirstAtBothPlaces) {
  EXPECT_EQ(Format("{n}-{n}", {"b", "a"}), "a-a");
  EXPECT_EQ(Format("{n}-{n}", {"ab", "a"}), "a-a");
  // Unsigned order: a byte above 0x7f sorts after ASCII.
  EXPECT_EQ(Format("{n}-{n}", {"\xc3\xa9", "z"}), "z-z");
}

TEST(FormatWith, FailuresThrowTheirOwnClass) {
  struct Row {
    const char* format;
    std::vector<FormatRange> values;
    void (*check)(const std::string&, const std::vector<FormatRange>&);
  };
  auto tooMany = [](const std::string& f, const std::vector<FormatRange>& v) {
    EXPECT_THROW((void)Format(f, v), TooManyFormatArguments);
  };
  auto tooFew = [](const std::string& f, const std::vector<FormatRange>& v) {
    EXPECT_THROW((void)Format(f, v), TooFewFormatArguments);
  };
  auto badString = [](const std::string& f, const std::vector<FormatRange>& v) {
    EXPECT_THROW((void)Format(f, v), BadFormatStringError);
  };
  auto improper = [](const std::string& f, const std::vector<FormatRange>& v) {
    EXPECT_THROW((void)Format(f, v), ImproperFormatVariableName);
  };
  auto undefined = [](const std::string& f, const std::vector<FormatRange>& v) {
    EXPECT_THROW((void)Format(f, v), UndefinedFormatVariable);
  };
  const Row rows[] = {
      {"There are {x} pending actions.", {}, tooMany},
      {"There are {x} pending actions.", {"3", "4"}, tooFew},
      {"Cancel", {"x"}, tooFew},
      {"{a}{a}", {"1"}, tooMany},
      {"{_tab}", {"x"}, tooFew},
      {"{x", {"1"}, badString},
      {"ok {x} then {", {"1"}, badString},
      {"{}", {}, improper},
      {"{a-b}", {"1"}, improper},
      {"{a b}", {"1"}, improper},
      {"{_nl}", {}, undefined},
      {"{_}", {}, undefined},
      {"{_TAB}", {}, undefined},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    row.check(row.format, row.values);
  }
}

TEST(FormatWith, VariableWithoutABoundValueIsUndefined) {
  const std::string format = "{a}{b}";
  const BoundArguments onlyA = BindArguments("{a}", {"1"});
  EXPECT_THROW((void)FormatWith(format, onlyA), UndefinedFormatVariable);
  EXPECT_THROW((void)FormatWith("{_nl}", {}), UndefinedFormatVariable);
  EXPECT_THROW((void)FormatWith("{x", onlyA), BadFormatStringError);
}

TEST(BindArguments, PairsAreSortedByNameThenValueAndBorrowTheirSources) {
  const std::string format = "{zeta} {alpha} {mid} {alpha}";
  const std::string v1 = "z", v2 = "b", v3 = "m", v4 = "a";
  const BoundArguments bound = BindArguments(format, {v1, v2, v3, v4});
  ASSERT_EQ(bound.size(), 4u);
  const char* expected[][2] = {{"alpha", "a"}, {"alpha", "b"}, {"mid", "m"}, {"zeta", "z"}};
  for (std::size_t i = 0; i < bound.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bound[i].name, FormatRange(expected[i][0]));
    EXPECT_EQ(bound[i].value, FormatRange(expected[i][1]));
    // Ranges point into the format text and the caller's values, not into copies.
    EXPECT_TRUE(bound[i].name.begin >= format.data() && bound[i].name.end <= format.data() + format.size());
  }
  EXPECT_EQ(bound[0].value.begin, v4.data());
}

TEST(ValidateVariableName, AcceptsSpecialAndAlphanumericNamesOnly) {
  for (const char* good : {"x", "x1", "Count", "_cbrace", "_cr", "_crlf", "_lf", "_obrace", "_tab", "1x", "-"}) {
    SCOPED_TRACE(good);
    EXPECT_NO_THROW(ValidateVariableName(good));
  }
  EXPECT_THROW(ValidateVariableName(""), ImproperFormatVariableName);
  EXPECT_THROW(ValidateVariableName("a_b"), ImproperFormatVariableName);
  EXPECT_THROW(ValidateVariableName("ab\xc3\xa9"), ImproperFormatVariableName);
  EXPECT_THROW(ValidateVariableName("_tabs"), UndefinedFormatVariable);
  EXPECT_THROW(ValidateVariableName("_ta"), UndefinedFormatVariable);
}

}  // namespace
