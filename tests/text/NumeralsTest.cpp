#include "text/Numerals.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

enum class Outcome { kValue, kNotANumeral, kTooLarge };

template <class Parse>
Outcome OutcomeOf(Parse parse) {
  try {
    (void)parse();
    return Outcome::kValue;
  } catch (const NotANumeral&) {
    return Outcome::kNotANumeral;
  } catch (const NumeralTooLarge&) {
    return Outcome::kTooLarge;
  }
}

TEST(Numerals, ParseUnsignedAtBothWidths) {
  const struct {
    const char* text;
    Outcome at32;
    Outcome at64;
    std::uint64_t value;
  } rows[] = {
      {"0", Outcome::kValue, Outcome::kValue, 0},
      {"007", Outcome::kValue, Outcome::kValue, 7},
      {"4294967295", Outcome::kValue, Outcome::kValue, 4294967295u},
      {"4294967296", Outcome::kTooLarge, Outcome::kValue, 4294967296u},
      {"18446744073709551615", Outcome::kTooLarge, Outcome::kValue, UINT64_MAX},
      {"18446744073709551616", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"99999999999999999999999", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"+1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"-1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {" 1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"1 ", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"1a", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"0x1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"99999999999999999999999x", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(OutcomeOf([&] { return ParseUnsigned<std::uint32_t>(row.text); }), row.at32);
    EXPECT_EQ(OutcomeOf([&] { return ParseUnsigned<std::uint64_t>(row.text); }), row.at64);
    const std::uint32_t expected32 = row.at32 == Outcome::kValue ? static_cast<std::uint32_t>(row.value) : 42u;
    EXPECT_EQ(ParseUnsigned<std::uint32_t>(row.text, 42u), expected32);
    EXPECT_EQ(ParseUnsigned<std::uint64_t>(row.text, 42u), row.at64 == Outcome::kValue ? row.value : 42u);
  }
}

TEST(Numerals, ParseHexTakesEitherCaseAndNoPrefix) {
  const struct {
    const char* text;
    Outcome at32;
    Outcome at64;
    std::uint64_t value;
  } rows[] = {
      {"ff", Outcome::kValue, Outcome::kValue, 255},
      {"DeadBeef", Outcome::kValue, Outcome::kValue, 0xdeadbeef},
      {"100000000", Outcome::kTooLarge, Outcome::kValue, 0x100000000},
      {"FFFFFFFFFFFFFFFF", Outcome::kTooLarge, Outcome::kValue, UINT64_MAX},
      {"10000000000000000", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"0x10", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"g", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(OutcomeOf([&] { return ParseHex<std::uint32_t>(row.text); }), row.at32);
    EXPECT_EQ(OutcomeOf([&] { return ParseHex<std::uint64_t>(row.text); }), row.at64);
    if (row.at64 == Outcome::kValue) {
      EXPECT_EQ(ParseHex<std::uint64_t>(row.text), row.value);
    }
    EXPECT_EQ(ParseHex<std::uint64_t>(row.text, 42u), row.at64 == Outcome::kValue ? row.value : 42u);
  }
}

TEST(Numerals, ParseSignedAcceptsOneSignAndTheMostNegativeValue) {
  const struct {
    const char* text;
    Outcome at32;
    Outcome at64;
    std::int64_t value;
  } rows[] = {
      {"-5", Outcome::kValue, Outcome::kValue, -5},
      {"+5", Outcome::kValue, Outcome::kValue, 5},
      {"-0", Outcome::kValue, Outcome::kValue, 0},
      {"2147483647", Outcome::kValue, Outcome::kValue, 2147483647},
      {"-2147483648", Outcome::kValue, Outcome::kValue, INT32_MIN},
      {"2147483648", Outcome::kTooLarge, Outcome::kValue, 2147483648},
      {"-2147483649", Outcome::kTooLarge, Outcome::kValue, -2147483649},
      {"9223372036854775807", Outcome::kTooLarge, Outcome::kValue, INT64_MAX},
      {"-9223372036854775808", Outcome::kTooLarge, Outcome::kValue, INT64_MIN},
      {"9223372036854775808", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"-9223372036854775809", Outcome::kTooLarge, Outcome::kTooLarge, 0},
      {"-", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"--1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"+-1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"- 1", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
      {"", Outcome::kNotANumeral, Outcome::kNotANumeral, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(OutcomeOf([&] { return ParseSigned<std::int32_t>(row.text); }), row.at32);
    EXPECT_EQ(OutcomeOf([&] { return ParseSigned<std::int64_t>(row.text); }), row.at64);
    if (row.at32 == Outcome::kValue) {
      EXPECT_EQ(ParseSigned<std::int32_t>(row.text), row.value);
    }
    if (row.at64 == Outcome::kValue) {
      EXPECT_EQ(ParseSigned<std::int64_t>(row.text), row.value);
    }
    EXPECT_EQ(ParseSigned<std::int64_t>(row.text, -42), row.at64 == Outcome::kValue ? row.value : -42);
  }
}

TEST(Numerals, ParsersReadElementText) {
  const std::vector<char> text{'1', '2'};
  EXPECT_EQ(ParseUnsigned<std::uint64_t>(text), 12u);
  EXPECT_EQ(ParseUnsigned<std::uint32_t>(XMLByteRange(text.data(), text.data() + 1)), 1u);
}

template <class Text>
std::string String(const Text& text) {
  EXPECT_EQ(text.c_str()[text.size()], '\0');
  return std::string(text.begin(), text.end());
}

template <class Format>
bool ExceedsCapacity(Format format) {
  try {
    (void)format();
    return false;
  } catch (const ConstDataCapacityExceeded&) {
    return true;
  }
}

TEST(Numerals, FormattersPadWithZerosUpToTheirCapacity) {
  EXPECT_EQ(String(FormatUnsigned(7u, 2)), "07");
  EXPECT_EQ(String(FormatUnsigned(0u, 0)), "0");
  EXPECT_EQ(String(FormatUnsigned(1234u, 2)), "1234");
  EXPECT_EQ(String(FormatUnsigned(UINT32_MAX, 10)), "4294967295");
  EXPECT_EQ(String(FormatUnsigned(UINT64_MAX, 0)), "18446744073709551615");
  EXPECT_EQ(String(FormatUnsigned(std::uint64_t{5}, 20)), "00000000000000000005");
  EXPECT_EQ(String(FormatHex(255u, 0)), "ff");
  EXPECT_EQ(String(FormatHex(0xABCu, 6)), "000abc");
  EXPECT_EQ(String(FormatHex(UINT64_MAX, 16)), "ffffffffffffffff");
  EXPECT_EQ(String(FormatSigned(-5, 3)), "-005");
  EXPECT_EQ(String(FormatSigned(5, 3)), "005");
  EXPECT_EQ(String(FormatSigned(INT32_MIN, 0)), "-2147483648");
  EXPECT_EQ(String(FormatSigned(INT32_MIN, 10)), "-2147483648");
  EXPECT_EQ(String(FormatSigned(INT64_MIN, 0)), "-9223372036854775808");
  EXPECT_EQ(String(FormatSigned(std::int64_t{-1}, 20)), "-00000000000000000001");

  EXPECT_TRUE(ExceedsCapacity([] { return FormatUnsigned(1u, 11); }));
  EXPECT_TRUE(ExceedsCapacity([] { return FormatUnsigned(std::uint64_t{1}, 21); }));
  EXPECT_TRUE(ExceedsCapacity([] { return FormatHex(1u, 9); }));
  EXPECT_TRUE(ExceedsCapacity([] { return FormatHex(std::uint64_t{1}, 17); }));
  EXPECT_TRUE(ExceedsCapacity([] { return FormatSigned(-1, 11); }));
  EXPECT_FALSE(ExceedsCapacity([] { return FormatSigned(1, 11); }));
  EXPECT_TRUE(ExceedsCapacity([] { return FormatSigned(std::int64_t{-1}, 21); }));
  EXPECT_TRUE(ExceedsCapacity([] { return FormatUnsigned(1u, SIZE_MAX); }));
}

TEST(Numerals, FormattedTextParsesBack) {
  const std::int64_t values[] = {0, 1, -1, 9, -10, 123456789, INT64_MAX, INT64_MIN};
  for (const std::int64_t value : values) {
    SCOPED_TRACE(value);
    const auto text = FormatSigned(value, 0);
    EXPECT_EQ(ParseSigned<std::int64_t>(XMLByteRange(text.begin(), text.end())), value);
    const auto hex = FormatHex(static_cast<std::uint64_t>(value), 0);
    EXPECT_EQ(ParseHex<std::uint64_t>(XMLByteRange(hex.begin(), hex.end())), static_cast<std::uint64_t>(value));
  }
}

}  // namespace
