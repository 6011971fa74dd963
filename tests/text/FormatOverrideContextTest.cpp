#include "text/FormatOverrideContext.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/FormatArguments.h"
#include "text/FormatErrors.h"
#include "text/FormatOverrideScope.h"
#include "text/FormatString.h"
#include "text/FormatWith.h"
#include "text/OverrideTable.h"

namespace {

std::string Str(const AutoUString<UTF8>& text) { return std::string(text.begin(), text.end()); }

TEST(FormatOverrideContext, NewestScopeWinsAndRemovalUncoversTheOlder) {
  FormatOverrideContext context;
  const OverrideTable older("Cancel\tAnnuler\nOK\tD'accord\n", "fr.xlat");
  const OverrideTable newer("Cancel\tAbbrechen\n", "de.xlat");
  FormatOverrideScope olderScope(older, context);
  EXPECT_EQ(Str(context.GetOverride("Cancel")), "Annuler");
  {
    FormatOverrideScope newerScope(newer, context);
    EXPECT_EQ(Str(context.GetOverride("Cancel")), "Abbrechen");
    // A key only the older table has is still found behind the newer one.
    EXPECT_EQ(Str(context.GetOverride("OK")), "D'accord");
  }
  EXPECT_EQ(Str(context.GetOverride("Cancel")), "Annuler");
  EXPECT_TRUE(context.HasOverride("OK"));
  EXPECT_FALSE(context.HasOverride("Snooze"));
  EXPECT_EQ(Str(context.GetOverride("Snooze")), "Snooze");
  EXPECT_EQ(Str(context.GetOverride("Snooze", "fallback")), "fallback");
}

TEST(FormatOverrideContext, RemovingScopesDuringAWalkNeverVisitsARemovedOne) {
  // Scopes are newest first: s3, s2, s1, s0.
  struct Row {
    const char* name;
    int removeWhenAt;  // the index of the scope being visited when the removal happens
    int removed;       // which scope goes
    std::vector<int> expectedVisits;
  };
  const Row rows[] = {
      {"the one being visited", 2, 2, {3, 2, 1, 0}},
      {"the next one", 3, 2, {3, 1, 0}},
      {"the oldest while on the one before", 1, 0, {3, 2, 1}},
      {"an already visited one", 1, 3, {3, 2, 1, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FormatOverrideContext context;
    const OverrideTable table("k\tv", "t");
    std::vector<std::unique_ptr<FormatOverrideScope>> scopes;
    for (int i = 0; i < 4; ++i) scopes.push_back(std::make_unique<FormatOverrideScope>(table, context));
    std::vector<int> visits;
    FormatOverrideContext::ScopeWalk walk(context);
    // A second walk over the same list must be moved along too.
    FormatOverrideContext::ScopeWalk other(context);
    while (FormatOverrideScope* scope = walk.Next()) {
      int index = 0;
      while (scopes[index].get() != scope) ++index;
      visits.push_back(index);
      if (index == row.removeWhenAt) scopes[row.removed].reset();  // ASan catches a later touch
    }
    EXPECT_EQ(visits, row.expectedVisits);
    int othersCount = 0;
    while (other.Next() != nullptr) ++othersCount;
    EXPECT_EQ(othersCount, 3);
  }
}

TEST(FormatOverrideContext, ScopesOutliveTheirContextSafely) {
  const OverrideTable table("Cancel\tAnnuler", "fr.xlat");
  auto context = std::make_unique<FormatOverrideContext>();
  auto scope = std::make_unique<FormatOverrideScope>(table, *context);
  EXPECT_EQ(scope->Context(), context.get());
  context.reset();
  EXPECT_EQ(scope->Context(), nullptr);
  scope.reset();
}

TEST(FormatOverrideContext, AddingAScopeToAnotherContextMovesIt) {
  const OverrideTable table("Cancel\tAnnuler", "fr.xlat");
  FormatOverrideContext first, second;
  FormatOverrideScope scope(table, first);
  second.AddScope(scope);
  EXPECT_FALSE(first.HasOverride("Cancel"));
  EXPECT_TRUE(second.HasOverride("Cancel"));
  first.RemoveScope(scope);  // not registered there: no effect
  EXPECT_TRUE(second.HasOverride("Cancel"));
  std::unique_ptr<FormatOverrideContext> created = second.CreateContext();
  EXPECT_FALSE(created->HasOverride("Cancel"));
  EXPECT_EQ(created->ParentContext(), nullptr);
}

// Restores the default context after a test that installs one of its own.
class CurrentContextTest : public testing::Test {
 protected:
  void TearDown() override { ReplaceContext(nullptr); }
};

TEST_F(CurrentContextTest, LookupFormatUsesTheCurrentContextAndTheLastLoadedFile) {
  const FormatString untouched = LookupFormat("Cancel");
  EXPECT_EQ(Str(untouched.key), "Cancel");
  EXPECT_EQ(Str(untouched.text), "Cancel");

  ReplaceContext(std::make_unique<FormatOverrideContext>());
  const OverrideTable first("Cancel\tAnnuler\n", "1.xlat");
  const OverrideTable second("Cancel\tAbbrechen\n", "2.xlat");
  FormatOverrideScope firstScope(first, CurrentContext());
  FormatOverrideScope secondScope(second, CurrentContext());
  const FormatString found = LookupFormat("Cancel");
  EXPECT_EQ(Str(found.key), "Cancel");
  EXPECT_EQ(Str(found.text), "Abbrechen");

  // Replacing the context releases the scopes of the old one.
  ReplaceContext(nullptr);
  EXPECT_EQ(firstScope.Context(), nullptr);
  EXPECT_EQ(Str(LookupFormat("Cancel").text), "Cancel");
}

TEST_F(CurrentContextTest, OverrideThatAddsAVariableFailsWhenBoundWithoutValues) {
  ReplaceContext(std::make_unique<FormatOverrideContext>());
  const OverrideTable table("Cancel\tCancel {x}\nThere are {n} actions.\t{n} actions en attente.\n", "fr.xlat");
  FormatOverrideScope scope(table, CurrentContext());
  EXPECT_THROW((void)BindArguments(LookupFormat("Cancel").text, {}), TooManyFormatArguments);

  const FormatString format = LookupFormat("There are {n} actions.");
  const AutoUString<UTF8> result = FormatWith(format.text, BindArguments(format.text, {"4"}));
  EXPECT_EQ(Str(result), "4 actions en attente.");
}

}  // namespace
