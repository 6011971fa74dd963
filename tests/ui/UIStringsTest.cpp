#include "ui/UIStrings.h"

#include "tests/ui/ZoneRule.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(UIStrings, EveryBuiltInTextPassesTheFormatEngineAndIsDistinct) {
  std::set<std::string> seen;
  for (int index = 0; index < kUITextCount; ++index) {
    const UIText text = static_cast<UIText>(index);
    SCOPED_TRACE(EnglishText(text));
    EXPECT_NE(Str(UIString(text)), kInvalidString);
    EXPECT_TRUE(seen.insert(EnglishText(text)).second);
  }
  EXPECT_EQ(Str(UIString(UIText::kCopyMenu)), "&Copy\tCtrl-C");
}

TEST(UIStrings, TextsWithValuesAndOverrides) {
  const ZoneRule zone("QVX-1");
  const DateTime eight = DateTime::FromUnixSeconds(1709622000);  // 2024-03-05 07:00:00 UTC
  const DateTime halfPastFive = eight + TimeInterval::Seconds(34200);
  const OverrideTable table(
      "Cancel\tAnnuler\nHide\tMasquer {x}\nOK\tD'acc{ord\n"
      "You have {number} pending actions.\tActions en attente.\n",
      "fr.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  struct Row {
    UString8 text;
    std::string expected;
  } const rows[] = {
      {QuietModeText(eight, halfPastFive),
       "Your administrator has disabled this feature between 08:00:00 and 17:30:00."},
      {NewOffersText(0), "You Have 0 New Offers"},
      {NewOffersText(1), "You Have 1 New Offer"},
      {PendingActionsText(1), "You have 1 pending action."},
      {UIString(UIText::kCancel), "Annuler"},
      {UIString(UIText::kHide), kInvalidString},  // a variable without a value
      {UIString(UIText::kOK), kInvalidString},    // a brace never closed
      {PendingActionsText(4), kInvalidString},    // a value without a variable
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(Str(row.text), row.expected);
  }
}

}  // namespace
