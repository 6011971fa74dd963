#include "core/IncomingMessages.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/StandardExceptions.h"
#include "text/time/ParsingErrors.h"
#include "text/time/TimeErrors.h"
#include "text/xml/Numerals.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

namespace {

std::unique_ptr<XMLElement> Message(const std::string& fields) {
  return ParseXMLDocument("<M>" + fields + "</M>");
}

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(IncomingMessages, MessageRequestDefaultsAndFields) {
  const MessageRequest empty = ReadMessageRequest(*Message(""));
  EXPECT_EQ(empty.id, 0u);
  EXPECT_EQ(Str(empty.title) + Str(empty.message) + Str(empty.actionState), "");
  EXPECT_FALSE(empty.timeout.has_value() || empty.isCompletionMessage);
  const MessageRequest full = ReadMessageRequest(
      *Message("<ID>7</ID><Title>t</Title><Message>m</Message><ActionState>a</ActionState>"
               "<Timeout>PT0S</Timeout><IsCompletionMessage></IsCompletionMessage>"));
  EXPECT_EQ(full.id, 7u);
  EXPECT_EQ(Str(full.title) + Str(full.message) + Str(full.actionState), "tma");
  EXPECT_EQ(full.timeout, TimeInterval());  // zero is a time-out, not none
  EXPECT_TRUE(full.isCompletionMessage);
  EXPECT_THROW((void)ReadMessageRequest(*Message("<Timeout>90</Timeout>")), ExceptionPL);
  EXPECT_THROW((void)ReadMessageRequest(*Message("<ID>x</ID>")), NotANumeral);
}

TEST(IncomingMessages, RemoveTypeIsOneOfFourExactNamesElseAll) {
  struct Row {
    const char* fields;
    RemoveType expected;
  };
  const Row rows[] = {
      {"<RemoveType>Action</RemoveType>", RemoveType::kAction},
      {"<RemoveType>Offer</RemoveType>", RemoveType::kOffer},
      {"<RemoveType>Message</RemoveType>", RemoveType::kMessage},
      {"<RemoveType>All</RemoveType>", RemoveType::kAll},
      {"", RemoveType::kAll},
      {"<RemoveType>action</RemoveType>", RemoveType::kAll},
      {"<RemoveType>Actions</RemoveType>", RemoveType::kAll},
      {"<RemoveType>Action </RemoveType>", RemoveType::kAll},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fields);
    EXPECT_EQ(ReadRemoveRequest(*Message(row.fields)).removeType, row.expected);
  }
  EXPECT_EQ(ReadRemoveRequest(*Message("<ID>12</ID>")).id, 12u);
  EXPECT_THROW((void)ReadRemoveRequest(*Message("<ID>-1</ID>")), NotANumeral);
}

std::pair<DateTime, DateTime> QuietTimes(const std::string& fields) {
  const QuietModeStart start = ReadQuietModeStart(*Message(fields));
  return {start.startTime, start.endTime};
}

TEST(IncomingMessages, QuietModeTimesDefaultToTheEpoch) {
  using Times = std::pair<DateTime, DateTime>;
  EXPECT_EQ(QuietTimes(""), Times());
  EXPECT_EQ(QuietTimes("<StartTime>Thu, 01 Jan 1970 00:00:01 +0000</StartTime>"
                       "<EndTime>Thu, 01 Jan 1970 00:00:02 +0000</EndTime>"),
            Times(DateTime::FromUnixSeconds(1), DateTime::FromUnixSeconds(2)));
  EXPECT_THROW(QuietTimes("<StartTime></StartTime>"), ParsingFailure);
  EXPECT_THROW(QuietTimes("<EndTime>30 Feb 2024 00:00 +0000</EndTime>"), NoSuchDate);
}

TEST(IncomingMessages, TopmostWithoutEnabledIsDistinguishable) {
  EXPECT_FALSE(ReadActionRunningTopmost(*Message("")).enabled.has_value());
  EXPECT_EQ(ReadActionRunningTopmost(*Message("<Enabled>0</Enabled>")).enabled,
            std::optional<bool>(false));
  EXPECT_EQ(ReadActionRunningTopmost(*Message("<Enabled></Enabled>")).enabled,
            std::optional<bool>(true));
}

}  // namespace
