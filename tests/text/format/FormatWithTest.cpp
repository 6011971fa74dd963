#include "text/format/FormatWith.h"

#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"

namespace {

std::string Format(const std::string& format, const std::vector<ByteRange>& values) {
  const AutoUString<UTF8> result = FormatWith(format, BindArguments(format, values));
  return std::string(result.begin(), result.end());
}

// The class of the format error that binding and filling in throw, or void when none.
const std::type_info& Failure(const std::string& format, const std::vector<ByteRange>& values) {
  try {
    (void)Format(format, values);
  } catch (const FormatError& error) {
    return typeid(error);
  }
  return typeid(void);
}

TEST(FormatWith, FillsVariablesAndKeepsLiterals) {
  struct Row {
    const char* format;
    std::vector<ByteRange> values;
    const char* expected;
  };
  const Row rows[] = {
      {"There are {x} pending actions.", {"3"}, "There are 3 pending actions."},
      {"", {}, ""},
      {"{b} before {a}", {"B", "A"}, "B before A"},
      {"a}b", {}, "a}b"},
      {"}{x}}", {"v"}, "}v}"},
      {"{_obrace}x{_cbrace}", {}, "{x}"},
      {"{_tab}|{_cr}|{_lf}|{_crlf}", {}, "\t|\r|\n|\r\n"},
      {"[{v}]", {"{_tab}"}, "[{_tab}]"},  // a value is data, not read again
      {"{-x}", {"ok"}, "ok"},             // the first byte of a name is not checked
      // The same name twice shows, at both places, the value that sorts first (unsigned bytes).
      {"{n}-{n}", {"b", "a"}, "a-a"},
      {"{n}-{n}", {"ab", "a"}, "a-a"},
      {"{n}-{n}", {"\xc3\xa9", "z"}, "z-z"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(Format(row.format, row.values), row.expected);
  }
}

TEST(FormatWith, EachFailureThrowsItsOwnClass) {
  struct Row {
    const char* format;
    std::vector<ByteRange> values;
    const std::type_info& expected;
  };
  const Row rows[] = {
      {"There are {x} pending actions.", {}, typeid(TooManyFormatArguments)},
      {"{a}{a}", {"1"}, typeid(TooManyFormatArguments)},
      {"There are {x} pending actions.", {"3", "4"}, typeid(TooFewFormatArguments)},
      {"{_tab}", {"x"}, typeid(TooFewFormatArguments)},
      {"{x", {"1"}, typeid(BadFormatStringError)},
      {"ok {x} then {", {"1"}, typeid(BadFormatStringError)},
      {"{}", {}, typeid(ImproperFormatVariableName)},
      {"{a-b}", {"1"}, typeid(ImproperFormatVariableName)},
      {"{ab\xc3\xa9}", {"1"}, typeid(ImproperFormatVariableName)},
      {"{_nl}", {}, typeid(UndefinedFormatVariable)},
      {"{_tabs}", {}, typeid(UndefinedFormatVariable)},
      {"{_TAB}", {}, typeid(UndefinedFormatVariable)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(Failure(row.format, row.values), row.expected);
  }
}

TEST(FormatWith, VariableWithoutABoundValueIsUndefined) {
  const BoundArguments onlyA = BindArguments("{a}", {"1"});
  EXPECT_THROW((void)FormatWith("{a}{b}", onlyA), UndefinedFormatVariable);
}

}  // namespace
