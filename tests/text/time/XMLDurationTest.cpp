// The XML duration form: which texts are read and to what, the three failure messages, and
// the written form.
#include "text/time/XMLDuration.h"

#include "foundation/platform/ExceptionPL.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr char kMalformed[] = "Could not convert XMLDuration to TimeInterval";
constexpr char kTooPrecise[] =
    "Could not convert XMLDuration to TimeInterval: cannot handle more than microsecond precision.";
constexpr char kOverflow[] =
    "Could not convert XMLDuration to TimeInterval due to integer overflow.";

TimeInterval Parse(const std::string& text) {
  return ParseXMLDuration(text.data(), text.data() + text.size());
}

std::string Format(TimeInterval interval) {
  const UString8 text = FormatXMLDuration(interval);
  return std::string(text.begin(), text.end());
}

// The message of the ExceptionPL the text is rejected with, or "" when it is accepted.
std::string RejectionOf(const std::string& text) {
  try {
    static_cast<void>(Parse(text));
  } catch (const ExceptionPL& error) {
    const auto [begin, end] = error.text();
    EXPECT_STREQ(error.what(), std::string(begin, end).c_str());
    return std::string(begin, end);
  }
  return "";
}

constexpr TimeInterval kSecond = 1000000;
constexpr TimeInterval kMinute = 60 * kSecond;
constexpr TimeInterval kHour = 60 * kMinute;
constexpr TimeInterval kDay = 24 * kHour;

TEST(XMLDurationReading, AcceptedForms) {
  struct Row {
    const char* text;
    TimeInterval interval;
  } const rows[] = {
      {"PT0S", 0},
      {"P0D", 0},
      {"-P1D", -kDay},
      {"PT1H30M", 90 * kMinute},
      {"P1DT1H1M1S", kDay + kHour + kMinute + kSecond},
      {"PT0.000001S", 1},
      {"PT1.5S", kSecond + 500000},
      {"PT1.05S", kSecond + 50000},
      {"-P1DT1S", -(kDay + kSecond)},
      {"PT0004294967295S", 4294967295 * kSecond},
      {"P106751991D", 106751991 * kDay},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Parse(row.text), row.interval);
  }
}

TEST(XMLDurationReading, RejectedFormsAndTheirMessages) {
  struct Row {
    const char* text;
    const char* message;
  } const rows[] = {
      {"", kMalformed},
      {"P", kMalformed},
      {"PT", kMalformed},
      {"--P1D", kMalformed},
      {"P1DT", kMalformed},
      {"P-1D", kMalformed},
      {"1D", kMalformed},
      {"P1Y", kMalformed},
      {"P1M", kMalformed},
      {"PT1M1H", kMalformed},
      {"PT1S2", kMalformed},
      {"PT1H1H", kMalformed},
      {"P1T1H", kMalformed},
      {"PD", kMalformed},
      {"PT.5S", kMalformed},
      {"PT1.S", kMalformed},
      {"PT1.5", kMalformed},
      {"PT1.5M", kMalformed},
      {"pt1s", kMalformed},
      {"PT1S ", kMalformed},
      {"PT0.00000000000000000000000000000000000001S", kTooPrecise},
      {"PT4294967296S", kOverflow},
      {"PT0.12345678901S", kOverflow},
      {"P106751992D", kOverflow},
      // Each number fits 32 bits but the total does not fit a TimeInterval.
      {"P4294967295DT4294967295H", kOverflow},
      {"PT4294967295H", kOverflow},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(RejectionOf(row.text), row.message);
  }
}

TEST(XMLDurationWriting, Forms) {
  struct Row {
    TimeInterval interval;
    const char* text;
  } const rows[] = {
      {0, "PT0S"},
      {kSecond + 500000, "PT1.500000S"},
      {90 * kMinute, "PT1H30M"},
      {-(kDay + kSecond), "-P1DT1S"},
      {kDay + 1, "P1DT0.000001S"},
      {std::numeric_limits<TimeInterval>::max(), "P106751991DT4H54.775807S"},
      {std::numeric_limits<TimeInterval>::min(), "-P106751991DT4H54.775808S"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Format(row.interval), row.text);
  }
}

}  // namespace
