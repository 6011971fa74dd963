#include "text/format/FormatWith.h"

#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"

namespace {

// The text, or the class of the format error that binding and filling in throw.
std::string Format(const std::string& format, const std::vector<ByteRange>& values) {
  try {
    const AutoUString<UTF8> result = FormatWith(format, BindArguments(format, values));
    return std::string(result.begin(), result.end());
  } catch (const FormatError& error) {
    return typeid(error).name();
  }
}

TEST(FormatWith, FillsVariablesKeepsLiteralsAndThrowsOneClassPerFailure) {
  const std::string tooMany = typeid(TooManyFormatArguments).name();
  const std::string tooFew = typeid(TooFewFormatArguments).name();
  const std::string bad = typeid(BadFormatStringError).name();
  const std::string badName = typeid(ImproperFormatVariableName).name();
  const std::string undefined = typeid(UndefinedFormatVariable).name();
  const struct {
    const char* format;
    std::vector<ByteRange> values;
    std::string expected;
  } rows[] = {
      {"There are {x} pending actions.", {"3"}, "There are 3 pending actions."},
      {"", {}, ""},
      {"{b} before {a}", {"B", "A"}, "B before A"},
      {"}{x}}", {"v"}, "}v}"},
      {"{_obrace}x{_cbrace}", {}, "{x}"},
      {"{_tab}|{_cr}|{_lf}|{_crlf}", {}, "\t|\r|\n|\r\n"},
      {"[{v}]", {"{_tab}"}, "[{_tab}]"},  // a value is data, not read again
      {"{-x}", {"ok"}, "ok"},             // the first byte of a name is not checked
      // The same name twice shows, at both places, the value that sorts first (unsigned bytes).
      {"{n}-{n}", {"ab", "a"}, "a-a"},
      {"{n}-{n}", {"\xc3\xa9", "z"}, "z-z"},
      {"{x}", {}, tooMany},
      {"{a}{a}", {"1"}, tooMany},
      {"{x}", {"3", "4"}, tooFew},
      {"{_tab}", {"x"}, tooFew},
      {"{x", {"1"}, bad},
      {"ok {x} then {", {"1"}, bad},
      {"{}", {}, badName},
      {"{a-b}", {"1"}, badName},
      {"{ab\xc3\xa9}", {"1"}, badName},
      {"{_nl}", {}, undefined},
      {"{_tabs}", {}, undefined},
      {"{_TAB}", {}, undefined},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(Format(row.format, row.values), row.expected);
  }
}

TEST(FormatWith, VariableWithoutABoundValueIsUndefined) {
  EXPECT_THROW((void)FormatWith("{a}{b}", BindArguments("{a}", {"1"})), UndefinedFormatVariable);
}

}  // namespace
