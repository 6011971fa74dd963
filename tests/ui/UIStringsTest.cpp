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
  EXPECT_EQ(Str(UIString(UIText::kActionRequestsTitle)), "Vantrel Action Requests");
  EXPECT_EQ(Str(UIString(UIText::kCopyMenu)), "&Copy\tCtrl-C");
}

TEST(UIStrings, TextsWithValues) {
  const ZoneRule zone("QVX-1");
  const DateTime eight = 1709622000LL * kMicrosecondsPerSecond;  // 2024-03-05 07:00:00 UTC
  const DateTime halfPastFive = eight + 34200LL * kMicrosecondsPerSecond;
  struct Row {
    UString8 text;
    std::string expected;
  } const rows[] = {
      {QuietModeText(eight, halfPastFive),
       "Your administrator has disabled this feature between 08:00:00 and 17:30:00."},
      {QuietModeClosingText(halfPastFive, eight),
       "Your administrator has disabled the Vantrel Helpdock between 17:30:00 and 08:00:00.  The "
       "application will now close."},
      {NewOffersText(0), "You Have 0 New Offers"},
      {NewOffersText(1), "You Have 1 New Offer"},
      {NewOffersText(12), "You Have 12 New Offers"},
      {PendingActionsText(1), "You have 1 pending action."},
      {PendingActionsText(2), "You have 2 pending actions."},
      {VersionText(), std::string("Vantrel Helpdock version ") + kProductVersion},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(Str(row.text), row.expected);
  }
}

TEST(UIStrings, OverridesApplyAndOnesTheEngineRejectsGiveTheMarker) {
  const OverrideTable table(
      "Cancel\tAnnuler\n"
      "Hide\tMasquer {x}\n"
      "OK\tD'acc{ord\n"
      "You have {number} pending actions.\tActions en attente.\n"
      "You Have {number} New Offers\t{number} nouvelles offres\n"
      "Vantrel Helpdock version {version}\t{_nl}\n"
      "Take All Actions\t{_obrace}Tout{_cbrace}\n",
      "fr.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  struct Row {
    UString8 text;
    const char* expected;
  } const rows[] = {
      {UIString(UIText::kCancel), "Annuler"},
      {NewOffersText(3), "3 nouvelles offres"},
      {UIString(UIText::kTakeAllActions), "{Tout}"},
      {UIString(UIText::kHide), kInvalidString},              // a variable without a value
      {UIString(UIText::kOK), kInvalidString},                // a brace never closed
      {PendingActionsText(4), kInvalidString},                // a value without a variable
      {VersionText(), kInvalidString},                        // an undefined special variable
      {PendingActionsText(1), "You have 1 pending action."},  // no override for this one
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(Str(row.text), row.expected);
  }
}

}  // namespace
