// The XML duration form: which texts are read and to what, the three failure messages, and
// the written form.
#include "text/time/XMLDuration.h"

#include "foundation/platform/ExceptionPL.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr char kMalformed[] = "Could not convert XMLDuration to TimeInterval";
constexpr char kTooPrecise[] =
    "Could not convert XMLDuration to TimeInterval: cannot handle more than microsecond precision.";
constexpr char kOverflow[] =
    "Could not convert XMLDuration to TimeInterval due to integer overflow.";

// The interval read, or the message of the ExceptionPL the text is rejected with.
std::string Read(const std::string& text) {
  try {
    return std::to_string(
        ParseXMLDuration(text.data(), text.data() + text.size()).InMicroseconds());
  } catch (const ExceptionPL& error) {
    return error.what();
  }
}

constexpr TimeInterval kMicrosecond = TimeInterval::Microseconds(1);
constexpr TimeInterval kSecond = TimeInterval::Seconds(1);
constexpr TimeInterval kMinute = TimeInterval::Minutes(1);
constexpr TimeInterval kHour = TimeInterval::Hours(1);
constexpr TimeInterval kDay = TimeInterval::Days(1);

TEST(XMLDurationReading, AcceptedAndRejectedForms) {
  const struct {
    const char* text;
    TimeInterval interval;
  } accepted[] = {
      {"PT0S", {}},
      {"P0D", {}},
      {"PT1H30M", 90 * kMinute},
      {"P1DT1H1M1S", kDay + kHour + kMinute + kSecond},
      {"PT0.000001S", kMicrosecond},
      {"PT1.05S", kSecond + 50000 * kMicrosecond},
      {"-P1DT1S", -(kDay + kSecond)},
      {"PT0004294967295S", 4294967295 * kSecond},
      {"P106751991D", 106751991 * kDay},
  };
  for (const auto& row : accepted)
    EXPECT_EQ(Read(row.text), std::to_string(row.interval.InMicroseconds())) << row.text;
  for (const char* text : {"",      "P",     "PT",     "--P1D",  "P1DT",   "P-1D",  "1D",
                           "P1Y",   "P1M",   "PT1M1H", "PT1S2",  "PT1H1H", "P1T1H", "PD",
                           "PT.5S", "PT1.S", "PT1.5",  "PT1.5M", "pt1s",   "PT1S "}) {
    EXPECT_EQ(Read(text), kMalformed) << text;
  }
  EXPECT_EQ(Read("PT0.00000000000000000000000000000000000001S"), kTooPrecise);
  // The last two: each number fits 32 bits but the total does not fit a TimeInterval.
  for (const char* text : {"PT4294967296S", "PT0.12345678901S", "P106751992D",
                           "P4294967295DT4294967295H", "PT4294967295H"}) {
    EXPECT_EQ(Read(text), kOverflow) << text;
  }
}

TEST(XMLDurationWriting, Forms) {
  const struct {
    TimeInterval interval;
    const char* text;
  } rows[] = {{{}, "PT0S"},
              {kSecond + 500000 * kMicrosecond, "PT1.500000S"},
              {90 * kMinute, "PT1H30M"},
              {-(kDay + kSecond), "-P1DT1S"},
              {kDay + kMicrosecond, "P1DT0.000001S"},
              {TimeInterval::Max(), "P106751991DT4H54.775807S"},
              {TimeInterval::Min(), "-P106751991DT4H54.775808S"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const UString8 text = FormatXMLDuration(row.interval);
    EXPECT_EQ(std::string(text.begin(), text.end()), row.text);
  }
}

}  // namespace
