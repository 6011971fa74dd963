#include "core/MessageFields.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/StandardExceptions.h"
#include "text/time/ParsingErrors.h"
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
      {"<B>0</B>", false},
      {"<B>false</B>", false},
      {"<B>1</B>", true},
      {"<B>true</B>", true},
      {"<B></B>", true},
      {"<B>FALSE</B>", true},
      {"<B>False</B>", true},
      {"<B>no</B>", true},
      {"<B>00</B>", true},
      {"<B> 0</B>", true},
      {"<B>false </B>", true},
      // Judged after decoding: a hexadecimal reference is decoded, a decimal one is kept.
      {"<B>f&#x61;lse</B>", false},
      {"<B>f&#97;lse</B>", true},
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
  EXPECT_FALSE(ParseBooleanText("false"));
  EXPECT_TRUE(ParseBooleanText("FALSE"));
}

enum class Outcome { kValue, kNotANumeral, kTooLarge };

TEST(MessageFields, NumbersAreUnsignedDecimalWithinTheFieldsWidth) {
  struct Row {
    const char* text;
    Outcome at64;
    Outcome at32;
    std::uint64_t value;
  };
  const Row rows[] = {
      {"0", Outcome::kValue, Outcome::kValue, 0},
      {"007", Outcome::kValue, Outcome::kValue, 7},
      {"4294967295", Outcome::kValue, Outcome::kValue, 4294967295u},
      {"4294967296", Outcome::kValue, Outcome::kTooLarge, 4294967296u},
      {"18446744073709551615", Outcome::kValue, Outcome::kTooLarge, 18446744073709551615u},
      {"18446744073709551616", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"99999999999999999999999", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"-1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"+1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {" 1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"1 ", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"1a", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"0x10", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"99999999999999999999x", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto message = Message(std::string("<N>") + row.text + "</N>");
    std::uint64_t wide = 123;
    std::uint32_t narrow = 123;
    std::optional<std::uint32_t> optional;
    switch (row.at64) {
      case Outcome::kValue:
        ReadChild(*message, "N", wide);
        EXPECT_EQ(wide, row.value);
        break;
      case Outcome::kNotANumeral:
        EXPECT_THROW(ReadChild(*message, "N", wide), NotANumeral);
        break;
      case Outcome::kTooLarge:
        EXPECT_THROW(ReadChild(*message, "N", wide), NumeralTooLarge);
        break;
    }
    switch (row.at32) {
      case Outcome::kValue:
        ReadChild(*message, "N", narrow);
        ReadChild(*message, "N", optional);
        EXPECT_EQ(narrow, row.value);
        EXPECT_EQ(optional, std::optional<std::uint32_t>(static_cast<std::uint32_t>(row.value)));
        break;
      case Outcome::kNotANumeral:
        EXPECT_THROW(ReadChild(*message, "N", narrow), NotANumeral);
        EXPECT_THROW(ReadChild(*message, "N", optional), NotANumeral);
        break;
      case Outcome::kTooLarge:
        EXPECT_THROW(ReadChild(*message, "N", narrow), NumeralTooLarge);
        EXPECT_THROW(ReadChild(*message, "N", optional), NumeralTooLarge);
        break;
    }
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
  bool flag = true;
  ReadChild(*Message("<B value=\"false\">1</B>"), "B", flag);
  EXPECT_TRUE(flag);
}

TEST(MessageFields, AbsentFieldsKeepTheirValueAndOptionalsStayNone) {
  const auto message = Message("<Other>0</Other>");
  UString8 text("kept");
  bool flag = true;
  std::uint64_t wide = 9;
  std::uint32_t narrow = 8;
  TimeInterval interval = 7;
  DateTime time = 6;
  ReadChild(*message, "F", text);
  ReadChild(*message, "F", flag);
  ReadChild(*message, "F", wide);
  ReadChild(*message, "F", narrow);
  ReadChild<DurationField>(*message, "F", interval);
  ReadChild<TimeField>(*message, "F", time);
  EXPECT_EQ(Str(text), "kept");
  EXPECT_TRUE(flag);
  EXPECT_EQ(wide, 9u);
  EXPECT_EQ(narrow, 8u);
  EXPECT_EQ(interval, 7);
  EXPECT_EQ(time, 6);

  std::optional<UString8> fragment;
  std::optional<bool> optionalFlag;
  std::optional<std::uint32_t> optionalNumber;
  std::optional<TimeInterval> optionalInterval;
  std::optional<DateTime> optionalTime;
  ReadChild(*message, "F", fragment);
  ReadChild(*message, "F", optionalFlag);
  ReadChild(*message, "F", optionalNumber);
  ReadChild<DurationField>(*message, "F", optionalInterval);
  ReadChild<TimeField>(*message, "F", optionalTime);
  EXPECT_FALSE(fragment || optionalFlag || optionalNumber || optionalInterval || optionalTime);

  // Present but empty is a text, not none.
  ReadChild(*Message("<F></F>"), "F", fragment);
  ASSERT_TRUE(fragment.has_value());
  EXPECT_TRUE(fragment->empty());
}

TEST(MessageFields, TextsArriveDecoded) {
  std::optional<UString8> fragment;
  ReadChild(*Message("<F><![CDATA[a<b]]> &amp; \xc3\xa9</F>"), "F", fragment);
  ASSERT_TRUE(fragment.has_value());
  EXPECT_EQ(Str(*fragment), "a<b & \xc3\xa9");
}

TEST(MessageFields, IntervalsAreXMLDurations) {
  TimeInterval interval = 0;
  ReadChild<DurationField>(*Message("<I>PT1H30M</I>"), "I", interval);
  EXPECT_EQ(interval, 5400000000);
  std::optional<TimeInterval> optional;
  ReadChild<DurationField>(*Message("<I>-P1DT0.5S</I>"), "I", optional);
  EXPECT_EQ(optional, std::optional<TimeInterval>(-86400500000));

  for (const char* bad :
       {"<I>P1Y</I>", "<I></I>", "<I>PT4294967296S</I>", "<I>PT0.0000001S</I>", "<I> PT1S</I>"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(ReadChild<DurationField>(*Message(bad), "I", interval), ExceptionPL);
    EXPECT_THROW(ReadChild<DurationField>(*Message(bad), "I", optional), ExceptionPL);
  }
}

TEST(MessageFields, TimesAreHeldAsTheInstantTheyName) {
  struct Row {
    const char* text;
    DateTime expected;
  };
  const Row rows[] = {
      {"Tue, 05 Mar 2024 07:08:09 +0100", 1709618889 * kMicrosecondsPerSecond},
      {"5 mar 24 07:08 GMT", -1446137520 * kMicrosecondsPerSecond},
      {"Thu, 29 Feb 2024 18:59:59 EST", 1709251199 * kMicrosecondsPerSecond},
      {"01 Jan 1970 00:00:00 +0000", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto message = Message(std::string("<D>") + row.text + "</D>");
    DateTime time = 1;
    std::optional<DateTime> optional;
    ReadChild<TimeField>(*message, "D", time);
    ReadChild<TimeField>(*message, "D", optional);
    EXPECT_EQ(time, row.expected);
    EXPECT_EQ(optional, std::optional<DateTime>(row.expected));
  }
}

TEST(MessageFields, MalformedTimesRaiseTheParsersFailures) {
  std::optional<DateTime> time;
  const auto read = [&time](const char* text) {
    ReadChild<TimeField>(*Message(std::string("<D>") + text + "</D>"), "D", time);
  };
  EXPECT_THROW(read(""), ParsingFailure);
  EXPECT_THROW(read("Tue 05 Mar 2024 07:08:09 +0100"), ParsingFailure);
  EXPECT_THROW(read("Mon, 05 Mar 2024 07:08:09 +0100"), WrongDayOfWeek);
  EXPECT_THROW(read("31 Feb 2024 07:08 +0000"), NoSuchDate);
  EXPECT_THROW(read("05 Mar 2024 24:00 +0000"), NoSuchTimeOfDay);
  EXPECT_THROW(read("05 Mar 2024 07:08 Z"), NoTimeZone);
  EXPECT_FALSE(time.has_value());
}

}  // namespace
