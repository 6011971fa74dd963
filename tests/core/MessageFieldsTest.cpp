#include "core/MessageFields.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/StandardExceptions.h"
#include "text/time/TimeErrors.h"
#include "text/xml/Numerals.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<XMLElement> Message(const std::string& fields) {
  return ParseXMLDocument("<M>" + fields + "</M>");
}

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(MessageFields, BooleanIsFalseOnlyForTheTwoExactSpellings) {
  struct Row {
    const char* element;
    bool expected;
  };
  const Row rows[] = {
      // clang-format off
      {"<B>0</B>", false}, {"<B>false</B>", false}, {"<B>1</B>", true}, {"<B></B>", true},
      {"<B>FALSE</B>", true}, {"<B>00</B>", true}, {"<B> 0</B>", true},
      // Judged after decoding: a hexadecimal reference is decoded, a decimal one is kept.
      {"<B>f&#x61;lse</B>", false}, {"<B>f&#97;lse</B>", true},
      // clang-format on
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.element);
    for (const bool before : {false, true}) {
      bool field = before;
      ReadChild(*Message(row.element), "B", field);
      EXPECT_EQ(field, row.expected);
    }
    std::optional<bool> optional;
    ReadChild(*Message(row.element), "B", optional);
    EXPECT_EQ(optional, std::optional<bool>(row.expected));
  }
}

TEST(MessageFields, OnlyTheLastDirectChildOfTheExactNameCounts) {
  const auto message = Message(
      "<T>first</T><t>lower</t><T flag=\"x\">last<Inner>inner</Inner>!</T><TT>longer</TT>"
      "<Group><T>nested</T></Group>");
  UString8 text("default");
  ReadChild(*message, "T", text);
  EXPECT_EQ(Str(text), "last!");

  // An earlier malformed occurrence is never looked at, a later one always is.
  std::uint64_t number = 0;
  ReadChild(*Message("<N>x</N><N>5</N>"), "N", number);
  EXPECT_EQ(number, 5u);
  EXPECT_THROW(ReadChild(*Message("<N>5</N><N>x</N>"), "N", number), NotANumeral);

  EXPECT_EQ(FindLastField(*Message("<Group><N>1</N></Group>"), "N"), nullptr);
}

TEST(MessageFields, AttributesAreNeverRead) {
  UString8 text("default");
  ReadChild(*ParseXMLDocument("<M T=\"attribute\"></M>"), "T", text);
  EXPECT_EQ(Str(text), "default");
  ReadChild(*Message("<T value=\"attribute\"></T>"), "T", text);
  EXPECT_EQ(Str(text), "");
}

// One template reads every type, so one plain and one optional field stand for all.
TEST(MessageFields, AbsentFieldsKeepTheirValueAndOptionalsStayNoneButPresentOnesArriveDecoded) {
  const auto message = Message("<Other>0</Other>");
  std::uint64_t number = 9;
  std::optional<UString8> fragment;
  ReadChild(*message, "F", number);
  ReadChild(*message, "F", fragment);
  EXPECT_EQ(number, 9u);
  EXPECT_FALSE(fragment.has_value());
  ReadChild(*Message("<F></F>"), "F", fragment);
  EXPECT_EQ(Str(fragment.value_or(UString8("none"))), "");
  ReadChild(*Message("<F><![CDATA[a<b]]> &amp; \xc3\xa9</F>"), "F", fragment);
  EXPECT_EQ(Str(fragment.value_or(UString8("none"))), "a<b & \xc3\xa9");
}

// Intervals and times are read by their own parsers; here only that each form reaches its field
// and that a failure leaves the field as it was.
TEST(MessageFields, IntervalsAndTimesAreHeldAsMicroseconds) {
  std::optional<TimeInterval> interval;
  ReadChild<DurationField>(*Message("<I>-P1DT0.5S</I>"), "I", interval);
  EXPECT_EQ(interval, TimeInterval::Microseconds(-86400500000));
  EXPECT_THROW(ReadChild<DurationField>(*Message("<I></I>"), "I", interval), ExceptionPL);
  DateTime time;
  ReadChild<TimeField>(*Message("<D>Tue, 05 Mar 2024 07:08:09 +0100</D>"), "D", time);
  EXPECT_EQ(time, DateTime::FromUnixSeconds(1709618889));
  std::optional<DateTime> optionalTime;
  EXPECT_THROW(ReadChild<TimeField>(*Message("<D>05 Mar 2024 07:08 Z</D>"), "D", optionalTime),
               NoTimeZone);
  EXPECT_FALSE(optionalTime.has_value());
}

}  // namespace
