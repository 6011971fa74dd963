// Randomly edited texts under a fixed seed for both time readers: only their documented exceptions
// may escape, and whatever is read survives being written and read again.
#include "text/time/MailDateTime.h"
#include "text/time/ParsingErrors.h"
#include "text/time/TimeErrors.h"
#include "text/time/TimeParser.h"
#include "text/time/XMLDuration.h"

#include "foundation/platform/ExceptionPL.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A valid text with a few random edits: bytes deleted, replaced or inserted, fragments inserted.
std::string Mutated(std::mt19937& engine, std::string text,
                    const std::vector<std::string>& fragments) {
  auto uniform = [&engine](std::size_t max) {
    return std::uniform_int_distribution<std::size_t>(0, max)(engine);
  };
  for (std::size_t edits = uniform(4); edits > 0; --edits) {
    const std::size_t at = uniform(text.size());
    switch (uniform(3)) {
      case 0:
        if (at < text.size()) text.erase(at, 1);
        break;
      case 1:
        if (at < text.size()) text[at] = static_cast<char>(uniform(255));
        break;
      case 2:
        text.insert(at, fragments[uniform(fragments.size() - 1)]);
        break;
      default:
        text.insert(at, 1, static_cast<char>(uniform(255)));
        break;
    }
  }
  return text;
}

TEST(TimeRandomInput, DurationReaderThrowsOnlyItsMessagesAndReadsBackItsOwnOutput) {
  const std::vector<std::string> fragments = {"P",  "T",      "D",          "H",       "M",
                                              "S",  ".",      "-",          "0",       "1",
                                              "59", "999999", "4294967295", "0000001", "Y"};
  std::mt19937 engine(5150);
  int accepted = 0;
  for (int round = 0; round < 5000; ++round) {
    const std::string text =
        Mutated(engine, round % 2 ? "-P12DT3H4M5.25S" : "PT0.000001S", fragments);
    SCOPED_TRACE(testing::PrintToString(text));
    try {
      const TimeInterval interval = ParseXMLDuration(text.data(), text.data() + text.size());
      ++accepted;
      EXPECT_EQ(ParseXMLDuration(FormatXMLDuration(interval)), interval);
    } catch (const ExceptionPL& error) {
      const std::string message(error.text().begin, error.text().end);
      EXPECT_EQ(message.rfind("Could not convert XMLDuration to TimeInterval", 0), 0u) << message;
    }
  }
  EXPECT_GT(accepted, 500);
}

TEST(TimeRandomInput, DateTimeReaderThrowsOnlyItsFailuresAndReadsBackItsOwnOutput) {
  const std::vector<std::string> fragments = {
      "Tue", ",", " ", "05",   "5",   "Mar", "feb", "2024", "24", "999", ":",  "07",    "08", "59",
      "60",  "+", "-", "0100", "GMT", "est", "z",   "j",    "\t", "31",  "29", "99999", "Sun"};
  std::mt19937 engine(1987);
  int accepted = 0;
  for (int round = 0; round < 5000; ++round) {
    const std::string text = Mutated(
        engine, round % 2 ? "Tue, 05 Mar 2024 07:08:09 +0100" : "5 mar 24 07:08 GMT", fragments);
    SCOPED_TRACE(testing::PrintToString(text));
    try {
      const ZonedDateTime time = ParseZonedDateTime(text.data(), text.data() + text.size());
      ++accepted;
      EXPECT_EQ(ParseZonedDateTime(FormatMailDateTime(time)), time);
    } catch (const ParsingFailure&) {
    } catch (const StackFull&) {
    } catch (const InvalidTime&) {
      // documented; anything else escapes and fails the test
    }
  }
  EXPECT_GT(accepted, 500);
}

}  // namespace
