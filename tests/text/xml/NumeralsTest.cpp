#include "text/xml/Numerals.h"

#include <cstdint>
#include <string>

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

TEST(Numerals, TheParserAcceptsOnlyDecimalDigitsWithinItsWidth) {
  constexpr auto V = Outcome::kValue;
  constexpr auto N = Outcome::kNotANumeral;
  constexpr auto L = Outcome::kTooLarge;
  const struct {
    const char* text;
    Outcome at32, at64;
    std::uint64_t value;
  } rows[] = {
      {"007", V, V, 7},
      {"4294967295", V, V, 4294967295},
      {"4294967296", L, V, 4294967296},
      {"18446744073709551615", L, V, UINT64_MAX},
      {"18446744073709551616", L, L, 0},
      {"99999999999999999999999", L, L, 0},
      {"99999999999999999999999x", N, N, 0},
      {"", N, N, 0},
      {"+1", N, N, 0},
      {"-1", N, N, 0},
      {"1 ", N, N, 0},
      {"a", N, N, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(OutcomeOf([&] { return ParseUnsigned<std::uint32_t>(row.text); }), row.at32);
    EXPECT_EQ(OutcomeOf([&] { return ParseUnsigned<std::uint64_t>(row.text); }), row.at64);
    if (row.at64 == V) {
      EXPECT_EQ(ParseUnsigned<std::uint64_t>(row.text), row.value);
    }
    if (row.at32 == V) {
      EXPECT_EQ(ParseUnsigned<std::uint32_t>(row.text), row.value);
    }
  }
}

template <class Format>
std::string TextOf(Format format) {
  try {
    const auto text = format();
    EXPECT_EQ(text.c_str()[text.size()], '\0');
    return std::string(text.begin(), text.end());
  } catch (const ConstDataCapacityExceeded&) {
    return "capacity exceeded";
  }
}

TEST(Numerals, TheFormatterPadsWithZerosUpToItsCapacity) {
  const struct {
    std::string text;
    const char* expected;
  } rows[] = {
      {TextOf([] { return FormatUnsigned(7u, 2); }), "07"},
      {TextOf([] { return FormatUnsigned(0u, 0); }), "0"},
      {TextOf([] { return FormatUnsigned(UINT32_MAX, 10); }), "4294967295"},
      {TextOf([] { return FormatUnsigned(1u, 11); }), "capacity exceeded"},
      {TextOf([] { return FormatUnsigned(UINT64_MAX, 0); }), "18446744073709551615"},
      {TextOf([] { return FormatUnsigned(std::uint64_t{5}, 20); }), "00000000000000000005"},
      {TextOf([] { return FormatUnsigned(std::uint64_t{1}, 21); }), "capacity exceeded"},
      {TextOf([] { return FormatUnsigned(1u, SIZE_MAX); }), "capacity exceeded"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.text, row.expected);
}

}  // namespace
