#include "ui/KnownTexts.h"

#include "text/format/FormatArguments.h"
#include "text/format/FormatWith.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::string Str(ByteRange text) { return std::string(text.begin, text.end); }

TEST(KnownTexts, EveryTextPassesTheFormatEngineWithOneValuePerListedVariable) {
  std::map<TextSource, int> perSource;
  for (const KnownText& text : KnownTexts()) {
    SCOPED_TRACE(Str(text.english));
    const std::vector<ByteRange> values(text.variables.size(), ByteRange("v"));
    EXPECT_NO_THROW((void)FormatWith(text.english, BindArguments(text.english, values)));
    EXPECT_EQ(FindKnownText(text.english), &text);
    for (const TextUse& use : text.uses) ++perSource[use.source];
  }
  // The string table's texts with the counts' singular forms, both summary tables without
  // their empty sentence, and the deadline wordings.
  EXPECT_EQ(perSource[TextSource::kStringTable], 62);
  EXPECT_EQ(perSource[TextSource::kSummarySentence], 46);
  EXPECT_EQ(perSource[TextSource::kDeadlineText], 14);
}

TEST(KnownTexts, VariablesAndUsesOfTextsFromEachTable) {
  struct Row {
    const char* english;
    std::vector<std::string> variables;
    TextSource source;
    bool shown;
  } const rows[] = {
      {"Your administrator has disabled this feature between {start} and {end}.",
       {"start", "end"},
       TextSource::kStringTable,
       true},
      {"&Copy{_tab}Ctrl-C", {}, TextSource::kStringTable, false},
      {"You Have {number} New Offers", {"number"}, TextSource::kStringTable, false},
      {"You must take this action within {DeadlineText}.",
       {"DeadlineText"},
       TextSource::kSummarySentence,
       true},
      {"{minutes} minutes, {seconds} seconds",
       {"minutes", "seconds"},
       TextSource::kDeadlineText,
       true},
      {"{date} {time}", {"date", "time"}, TextSource::kDeadlineText, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.english);
    const KnownText* text = FindKnownText(row.english);
    ASSERT_NE(text, nullptr);
    std::vector<std::string> variables;
    for (ByteRange name : text->variables) variables.push_back(Str(name));
    EXPECT_EQ(variables, row.variables);
    EXPECT_EQ(text->uses.at(0).source, row.source);
    EXPECT_EQ(text->Shown(), row.shown);
  }
  EXPECT_EQ(FindKnownText("Vantrel"), nullptr);
}

}  // namespace
