// Values at the edges of what the time texts can say, where reading and writing must agree:
// the wall clock at an offset whose UTC date falls before the year 0, zones of minutes past 59
// and of 100 hours and more, and the most negative interval.
#include "text/time/MailDateTime.h"
#include "text/time/TimeParser.h"
#include "text/time/XMLDuration.h"

#include "foundation/platform/ExceptionPL.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(TimeRoundTrip, DateTimesAtTheEdgesAreWrittenAsTheyReadAndKeepTheirInstant) {
  const struct {
    const char* text;
    const char* written;
  } rows[] = {
      {"1jan000 00:00+1000", "Sat, 01 Jan 0000 00:00:00 +1000"},
      {"31 Dec 9999 23:59:59 -9999", "Fri, 31 Dec 9999 23:59:59 -9999"},
      {"Sat, 01 Jan 2000 00:00 -9986", "Sat, 01 Jan 2000 00:00:00 -9986"},
      {"1 Jan 2000 00:00 +0060", "Sat, 01 Jan 2000 00:00:00 +0100"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const ZonedDateTime time = ParseZonedDateTime(UString8(row.text));
    const UString8 written = FormatMailDateTime(time);
    EXPECT_EQ(std::string(written.begin(), written.end()), row.written);
    EXPECT_EQ(ParseZonedDateTime(written), time);
    EXPECT_EQ(FromDateTime(ToDateTime(time), time.offsetSeconds, time.offsetMicroseconds), time);
  }
}

TEST(TimeRoundTrip, MostNegativeIntervalReadsBackAndItsPositiveTwinOverflows) {
  constexpr TimeInterval kMostNegative = TimeInterval::Min();
  const UString8 written = FormatXMLDuration(kMostNegative);
  EXPECT_EQ(std::string(written.begin(), written.end()), "-P106751991DT4H54.775808S");
  EXPECT_EQ(ParseXMLDuration(written), kMostNegative);
  try {
    (void)ParseXMLDuration(UString8("P106751991DT4H54.775808S"));
    FAIL() << "no overflow";
  } catch (const ExceptionPL& error) {
    EXPECT_STREQ(error.what(),
                 "Could not convert XMLDuration to TimeInterval due to integer overflow.");
  }
}

}  // namespace
