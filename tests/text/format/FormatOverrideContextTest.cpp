#include "text/format/FormatOverrideContext.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/format/FormatOverrideScope.h"
#include "text/format/FormatString.h"
#include "text/format/OverrideTable.h"

namespace {

std::string Str(const AutoUString<UTF8>& text) { return std::string(text.begin(), text.end()); }

TEST(FormatOverrideContext, RemovingScopesDuringAWalkNeverVisitsARemovedOne) {
  struct Row {
    const char* name;
    int removeWhenAt;  // the scope being visited when the removal happens
    int removed;
    std::vector<int> expectedVisits;  // newest first
  };
  const Row rows[] = {
      {"the one being visited", 2, 2, {3, 2, 1, 0}},
      {"the next one", 3, 2, {3, 1, 0}},
      {"the oldest, from the one before", 1, 0, {3, 2, 1}},
      {"one already visited", 1, 3, {3, 2, 1, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FormatOverrideContext context;
    const OverrideTable table("k\tv", "t");
    std::vector<std::unique_ptr<FormatOverrideScope>> scopes;
    for (int i = 0; i < 4; ++i)
      scopes.push_back(std::make_unique<FormatOverrideScope>(table, context));
    FormatOverrideContext::ScopeWalk walk(context);
    FormatOverrideContext::ScopeWalk idle(context);  // must be moved along as well
    std::vector<int> visits;
    while (FormatOverrideScope* scope = walk.Next()) {
      int index = 0;
      while (scopes[index].get() != scope) ++index;
      visits.push_back(index);
      if (index == row.removeWhenAt) scopes[row.removed].reset();
    }
    EXPECT_EQ(visits, row.expectedVisits);
    int idleCount = 0;
    while (idle.Next() != nullptr) ++idleCount;
    EXPECT_EQ(idleCount, 3);
  }
}

class CurrentContextTest : public testing::Test {
 protected:
  void TearDown() override { ReplaceContext(nullptr); }
};

TEST_F(CurrentContextTest, NewestScopeWinsRemovalUncoversTheOlderAndReplacingReleasesScopes) {
  EXPECT_EQ(Str(LookupFormat("Cancel").text), "Cancel");
  ReplaceContext(std::make_unique<FormatOverrideContext>());
  FormatOverrideContext& context = CurrentContext();
  const OverrideTable older("Cancel\tAnnuler\nOK\tD'accord\n", "fr.xlat");
  const OverrideTable newer("Cancel\tAbbrechen\n", "de.xlat");
  FormatOverrideScope olderScope(older, context);
  {
    FormatOverrideScope newerScope(newer, context);
    const FormatString found = LookupFormat("Cancel");
    EXPECT_EQ(Str(found.key) + "=" + Str(found.text), "Cancel=Abbrechen");
    EXPECT_EQ(Str(context.GetOverride("OK")), "D'accord");  // found behind the newer table
  }
  EXPECT_EQ(Str(context.GetOverride("Cancel")), "Annuler");
  EXPECT_FALSE(context.HasOverride("Snooze"));
  EXPECT_EQ(Str(context.GetOverride("Snooze")), "Snooze");
  EXPECT_EQ(Str(context.GetOverride("Snooze", "fallback")), "fallback");

  // Destroying the installed context lets go of all its scopes before they end.
  FormatOverrideScope newestScope(newer, context);
  ReplaceContext(nullptr);
  EXPECT_EQ(olderScope.Context(), nullptr);
  EXPECT_EQ(Str(LookupFormat("Cancel").text), "Cancel");
}

}  // namespace
