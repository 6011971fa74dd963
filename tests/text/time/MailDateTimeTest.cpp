// Writing points in time in the mail-header form.
#include "text/time/MailDateTime.h"

#include "text/time/TimeErrors.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Text(const UString8& text) { return std::string(text.begin(), text.end()); }

ZonedDateTime Zoned(Date date, TimeOfDay time, std::int64_t offsetSeconds) {
  return ZonedDateTime{date, time, offsetSeconds, offsetSeconds * 1000000};
}

TEST(MailDateTimeWriting, WallClockForms) {
  struct Row {
    ZonedDateTime time;
    const char* text;
  } const rows[] = {
      {Zoned({5, 3, 2024}, {7, 8, 9}, 3600), "Tue, 05 Mar 2024 07:08:09 +0100"},
      {Zoned({5, 3, 2024}, {7, 8, 9}, -19800), "Tue, 05 Mar 2024 07:08:09 -0530"},
      {Zoned({1, 1, 1}, {0, 0, 0}, 50400), "Mon, 01 Jan 0001 00:00:00 +1400"},
      {Zoned({31, 12, 9999}, {12, 0, 0}, -43200), "Fri, 31 Dec 9999 12:00:00 -1200"},
      {Zoned({14, 7, 1789}, {0, 0, 0}, 59),
       "Tue, 14 Jul 1789 00:00:00 +0000"},  // whole minutes only
      {Zoned({14, 7, 1789}, {0, 0, 0}, -59), "Tue, 14 Jul 1789 00:00:00 -0000"},
      {Zoned({1, 1, 12024}, {0, 0, 0}, 0), "Mon, 01 Jan 12024 00:00:00 +0000"},  // written in full
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Text(FormatMailDateTime(row.time)), row.text);
  }
}

TEST(MailDateTimeWriting, InstantsAtAnOffsetAndMonthsOutsideTheYear) {
  EXPECT_EQ(Text(FormatMailDateTime(DateTime(), -3600)), "Wed, 31 Dec 1969 23:00:00 -0100");
  EXPECT_EQ(Text(FormatMailDateTime(DateTime::FromUnixSeconds(1709618889), 0)),
            "Tue, 05 Mar 2024 06:08:09 +0000");
  for (const std::uint32_t month : {0u, 13u}) {
    EXPECT_THROW(static_cast<void>(FormatMailDateTime(Zoned({1, month, 2024}, {0, 0, 0}, 0))),
                 InvalidMonth);
  }
}

}  // namespace
