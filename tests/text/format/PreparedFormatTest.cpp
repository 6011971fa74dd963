#include "text/format/PreparedFormat.h"

#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatWith.h"

namespace {

// The text, or the class of the format error thrown.
template <class Fill>
std::string Outcome(Fill fill) {
  try {
    const AutoUString<UTF8> result = fill();
    return std::string(result.begin(), result.end());
  } catch (const FormatError& error) {
    return typeid(error).name();
  }
}

std::string Unprepared(const std::string& format, const std::vector<ByteRange>& values) {
  return Outcome([&] { return FormatWith(format, BindArguments(format, values)); });
}

// One prepared text filled with each set of values in turn gives, every time, the text or the
// error class that binding and filling the text afresh gives.
TEST(PreparedFormat, EveryFillMatchesTheUnpreparedWay) {
  const struct {
    const char* format;
    std::vector<std::vector<ByteRange>> fills;
  } rows[] = {
      {"{date} {time}", {{"Tue, 05 Mar 2024", "07:08:09"}, {"d", "t"}, {"only one"}, {}}},
      {"{time} um {date}", {{"D", "T"}, {"T", "D"}}},
      {"", {{}, {"x"}}},
      {"{b} before {a}", {{"B", "A"}}},
      {"}{x}}", {{"v"}}},
      {"{_obrace}x{_cbrace}", {{}, {"x"}}},
      {"{_tab}|{_cr}|{_lf}|{_crlf}", {{}}},
      {"[{v}]", {{"{_tab}"}}},
      {"{-x}", {{"ok"}}},
      // The same name twice: the value that sorts first, whichever position holds it.
      {"{n}-{n}", {{"ab", "a"}, {"a", "ab"}, {"\xc3\xa9", "z"}, {"same", "same"}}},
      {"{a}{b}{a}", {{"2", "x", "1"}, {"1", "y", "2"}}},
      {"{x}", {{}, {"3", "4"}}},
      {"{a}{a}", {{"1"}}},
      {"{_tab}", {{"x"}}},
      {"{x", {{"1"}, {}}},
      {"ok {x} then {", {{"1"}}},
      {"{}", {{}}},
      {"{a-b}", {{"1"}}},
      {"{ab\xc3\xa9}", {{"1"}}},
      {"{_nl}", {{}}},
      {"{_TAB}", {{}}},
  };
  for (const auto& row : rows) {
    const std::string format = row.format;
    const PreparedFormat prepared(format);
    for (const auto& values : row.fills) {
      SCOPED_TRACE(format + " with " + std::to_string(values.size()) + " values");
      EXPECT_EQ(Outcome([&] { return prepared.Fill(values); }), Unprepared(format, values));
    }
  }
}

TEST(PreparedFormat, FillsTheSameTextWithNewValuesEachTime) {
  const std::string format = "{date} {time}";
  const PreparedFormat prepared(format);
  const AutoUString<UTF8> first = prepared.Fill({"Tue, 05 Mar 2024", "07:08:09"});
  const AutoUString<UTF8> second = prepared.Fill({"Wed, 06 Mar 2024", "23:59:59"});
  EXPECT_EQ(std::string(first.begin(), first.end()), "Tue, 05 Mar 2024 07:08:09");
  EXPECT_EQ(std::string(second.begin(), second.end()), "Wed, 06 Mar 2024 23:59:59");
  EXPECT_THROW((void)prepared.Fill({"one"}), TooManyFormatArguments);
  EXPECT_THROW((void)PreparedFormat("{x").Fill({}), BadFormatStringError);
}

}  // namespace
