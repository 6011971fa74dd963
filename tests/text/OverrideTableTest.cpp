#include "text/OverrideTable.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/FormatErrors.h"

namespace {

std::string Value(const OverrideTable& table, const std::string& key) {
  const FormatRange value = table.GetOverride(key);
  return std::string(value.begin, value.end);
}

TEST(OverrideTable, KeyBeforeTheFirstTabValueAfterTheLast) {
  struct Row {
    const char* file;
    const char* key;
    const char* expected;
  };
  const Row rows[] = {
      {"Cancel\tAnnuler", "Cancel", "Annuler"},
      {"Cancel\t\tX", "Cancel", "X"},
      {"Cancel\tmiddle\tX", "Cancel", "X"},
      {"Cancel\t", "Cancel", ""},
      {" Cancel \t Annuler ", " Cancel ", " Annuler "},
      {"a\tA\rb\tB", "b", "B"},
      {"a\tA\nb\tB", "b", "B"},
      {"a\tA\r\nb\tB\r\n", "b", "B"},
      {"a\tA\r\nb\tB\r\n", "a", "A"},
      {"no tab here\nCancel\tAnnuler", "Cancel", "Annuler"},
      {"{n} left\t{n} restant(s)", "{n} left", "{n} restant(s)"},
      {"\xc3\xa9t\xc3\xa9\tsummer", "\xc3\xa9t\xc3\xa9", "summer"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const OverrideTable table(row.file, "test.xlat");
    ASSERT_TRUE(table.HasOverride(row.key));
    EXPECT_EQ(Value(table, row.key), row.expected);
  }
}

TEST(OverrideTable, UnusableLinesAreSkipped) {
  const std::string file =
      "no tab\n"
      "\tempty key\n"
      "\n\r\n"
      "Key\tValue\n"
      "\t\n";
  const OverrideTable table(file, "test.xlat");
  EXPECT_EQ(table.EntryCount(), 1u);
  EXPECT_FALSE(table.HasOverride("no tab"));
  EXPECT_FALSE(table.HasOverride(""));
  EXPECT_TRUE(table.HasOverride("Key"));
  EXPECT_EQ(OverrideTable("", "empty").EntryCount(), 0u);
}

TEST(OverrideTable, KeysMatchExactlyAndAMissingOneThrows) {
  const OverrideTable table("Cancel\tAnnuler\nCancel now\tTout de suite\n", "test.xlat");
  EXPECT_FALSE(table.HasOverride("cancel"));
  EXPECT_FALSE(table.HasOverride("Cance"));
  EXPECT_FALSE(table.HasOverride("Cancel "));
  EXPECT_EQ(Value(table, "Cancel now"), "Tout de suite");
  EXPECT_THROW((void)table.GetOverride("OK"), FormatOverrideNotFound);
}

TEST(OverrideTable, DuplicateKeyGivesTheValueThatSortsFirst) {
  const OverrideTable table("K\tzebra\nK\tapple\nK\tmango\n", "test.xlat");
  EXPECT_EQ(table.EntryCount(), 3u);
  EXPECT_EQ(Value(table, "K"), "apple");
}

TEST(OverrideTable, KeepsItsOwnCopyOfTheBytes) {
  std::string file = "Cancel\tAnnuler\n";
  const OverrideTable table(file, "fr.xlat");
  file.assign(file.size(), 'x');
  EXPECT_EQ(Value(table, "Cancel"), "Annuler");
  EXPECT_EQ(table.Name(), AutoUString<UTF8>("fr.xlat"));
}

}  // namespace
