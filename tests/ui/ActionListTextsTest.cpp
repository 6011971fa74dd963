// Google Test first: the X headers define None and Bool, names it uses.
#include <gtest/gtest.h>

#include "ui/ActionListTexts.h"

#include "tests/ui/ZoneRule.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

#include <clocale>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DateTime kDeadline = DateTime::FromUnixSeconds(1709622489);

struct Items {
  std::vector<std::string> texts;
  std::vector<std::uint64_t> arrivals;

  friend bool operator==(const Items& a, const Items& b) {
    return a.texts == b.texts && a.arrivals == b.arrivals;
  }
};

void PrintTo(const Items& items, std::ostream* out) {
  for (std::size_t index = 0; index < items.texts.size(); ++index) {
    *out << "\n  " << items.arrivals[index] << ": " << items.texts[index];
  }
}

Items Make(ActionListTexts& texts, const PendingRequestList& pending) {
  Items items;
  texts.Make(pending, items.texts, items.arrivals);
  return items;
}

ActionRequest Record(std::uint64_t arrival, const char* title, std::optional<DateTime> deadline) {
  ActionRequest request;
  request.id = arrival % 3;
  request.arrival = arrival;
  request.title = UString8(title);
  request.deadline = deadline;
  return request;
}

class ActionListTextsTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  // The kept texts after each change, against texts made afresh from the same list.
  void ExpectFresh(const PendingRequestList& pending) {
    ActionListTexts fresh;
    EXPECT_EQ(Make(kept_, pending), Make(fresh, pending));
  }

  ActionListTexts kept_;

 private:
  std::string saved_;
};

TEST_F(ActionListTextsTest, ItemsShowTitleAndDeadlineAndSkipEmptyTitles) {
  const ZoneRule zone("UTC0");
  const PendingRequestList pending = {Record(1, "Update", kDeadline), Record(2, "", kDeadline),
                                      Record(3, "No deadline", std::nullopt)};
  const Items items = Make(kept_, pending);
  EXPECT_EQ(items.texts,
            (std::vector<std::string>{"Update  --  Tue, 05 Mar 2024 07:08:09", "No deadline"}));
  EXPECT_EQ(items.arrivals, (std::vector<std::uint64_t>{1, 3}));
}

// Every change a refresh can meet, one after another on the same kept texts: each time they are
// what a first refresh would make.
TEST_F(ActionListTextsTest, KeptItemsFollowEveryChange) {
  const ZoneRule utc("UTC0");
  PendingRequestList pending = {Record(1, "First", kDeadline), Record(4, "Second", kDeadline),
                                Record(6, "Third", std::nullopt)};
  ExpectFresh(pending);
  {
    SCOPED_TRACE("a title and a deadline change in their records");
    pending.front().title = UString8("First, renamed");
    std::next(pending.begin())->deadline = kDeadline + TimeInterval::Hours(1);
    ExpectFresh(pending);
  }
  {
    SCOPED_TRACE("records leave and arrive");
    pending.erase(pending.begin());
    pending.push_back(Record(9, "Fourth", kDeadline));
    pending.push_back(Record(10, "", kDeadline));
    ExpectFresh(pending);
  }
  {
    SCOPED_TRACE("the date wording gets an override");
    const OverrideTable table("{date} {time}\t{date} um {time}\n", "de.xlat");
    FormatOverrideScope scope(table, CurrentContext());
    ExpectFresh(pending);
  }
  {
    SCOPED_TRACE("the override is gone again");
    ExpectFresh(pending);
  }
  {
    SCOPED_TRACE("the UTC offset changes");
    const ZoneRule india("QVX-5:30");
    ExpectFresh(pending);
  }
  {
    SCOPED_TRACE("the encoding changes under a wording that only one of them can hold");
    const OverrideTable table("{date} {time}\t{date} \xC3\xA0 {time}\n", "fr.xlat");
    FormatOverrideScope scope(table, CurrentContext());
    ExpectFresh(pending);
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    ExpectFresh(pending);
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    ExpectFresh(pending);
  }
  {
    SCOPED_TRACE("the encoding changes: a title C cannot hold now shows");
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    pending.back().title = UString8("Caf\xC3\xA9");
    ExpectFresh(pending);
  }
}

// A title the encoding cannot hold fails the whole list, as it did before any was kept; the
// next list is made right.
TEST_F(ActionListTextsTest, AFailedListLeavesNothingStaleBehind) {
  const ZoneRule zone("UTC0");
  PendingRequestList pending = {Record(1, "One", kDeadline), Record(2, "Caf\xC3\xA9", kDeadline)};
  Items items;
  EXPECT_ANY_THROW(kept_.Make(pending, items.texts, items.arrivals));
  pending.back().title = UString8("Cafe");
  ExpectFresh(pending);
}

}  // namespace
