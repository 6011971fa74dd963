#include "text/format/OverrideTable.h"

#include <string>

#include <gtest/gtest.h>

#include "text/format/FormatErrors.h"

namespace {

std::string Value(const OverrideTable& table, const std::string& key) {
  const ByteRange value = table.GetOverride(key);
  return std::string(value.begin, value.end);
}

TEST(OverrideTable, KeyBeforeTheFirstTabValueAfterTheLast) {
  const struct {
    const char* file;
    const char* key;
    const char* expected;
  } rows[] = {
      {"Cancel\tmiddle\tX", "Cancel", "X"},
      {"Cancel\t", "Cancel", ""},
      {" Cancel \t Annuler ", " Cancel ", " Annuler "},
      {"a\tA\rb\tB", "b", "B"},
      {"a\tA\r\nb\tB\r\n", "a", "A"},
      {"K\tzebra\nK\tapple\n", "K", "apple"},  // a duplicate key gives the value that sorts first
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    EXPECT_EQ(Value(OverrideTable(row.file, "test.xlat"), row.key), row.expected);
  }
}

TEST(OverrideTable, UnusableLinesAreSkippedAndKeysMatchExactly) {
  std::string file = "no tab\n\tempty key\n\n\r\nCancel\tAnnuler\n\t\n";
  const OverrideTable table(file, "fr.xlat");
  file.assign(file.size(), 'x');  // the table keeps its own copy
  EXPECT_EQ(table.EntryCount(), 1u);
  for (const char* missing : {"no tab", "", "cancel", "Cance", "Cancel "}) {
    SCOPED_TRACE(missing);
    EXPECT_FALSE(table.HasOverride(missing));
    EXPECT_THROW((void)table.GetOverride(missing), FormatOverrideNotFound);
  }
  EXPECT_EQ(Value(table, "Cancel"), "Annuler");
}

}  // namespace
