#include "text/xml/Numerals.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

enum class Outcome { kValue, kNotANumeral, kTooLarge };
enum class Kind { kUnsigned, kHex, kSigned };

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

// One parser at 32 and at 64 bits, throwing and with the fallback 42; `parse(T{}, text, 42...)`
// calls it at the width of T.
template <class T32, class T64, class Parse>
void CheckRow(Parse parse, const char* text, Outcome at32, Outcome at64, std::int64_t value) {
  SCOPED_TRACE(text);
  EXPECT_EQ(OutcomeOf([&] { return parse(T32{}, text); }), at32);
  EXPECT_EQ(OutcomeOf([&] { return parse(T64{}, text); }), at64);
  EXPECT_EQ(parse(T64{}, text, T64{42}), static_cast<T64>(at64 == Outcome::kValue ? value : 42));
  EXPECT_EQ(parse(T32{}, text, T32{42}), static_cast<T32>(at32 == Outcome::kValue ? value : 42));
}

TEST(Numerals, ParsersAcceptOnlyTheirDigitsWithinTheirWidth) {
  constexpr auto V = Outcome::kValue;
  constexpr auto N = Outcome::kNotANumeral;
  constexpr auto L = Outcome::kTooLarge;
  const struct {
    Kind kind;
    const char* text;
    Outcome at32, at64;
    std::int64_t value;  // as a 64-bit pattern for the unsigned kinds
  } rows[] = {
      {Kind::kUnsigned, "007", V, V, 7},
      {Kind::kUnsigned, "4294967295", V, V, 4294967295},
      {Kind::kUnsigned, "4294967296", L, V, 4294967296},
      {Kind::kUnsigned, "18446744073709551615", L, V, -1},
      {Kind::kUnsigned, "18446744073709551616", L, L, 0},
      {Kind::kUnsigned, "99999999999999999999999", L, L, 0},
      {Kind::kUnsigned, "99999999999999999999999x", N, N, 0},
      {Kind::kUnsigned, "", N, N, 0},
      {Kind::kUnsigned, "+1", N, N, 0},
      {Kind::kHex, "DeadBeef", V, V, 0xdeadbeef},
      {Kind::kHex, "100000000", L, V, 0x100000000},
      {Kind::kHex, "FFFFFFFFFFFFFFFF", L, V, -1},
      {Kind::kHex, "10000000000000000", L, L, 0},
      {Kind::kHex, "0x10", N, N, 0},
      {Kind::kSigned, "-5", V, V, -5},
      {Kind::kSigned, "+5", V, V, 5},
      {Kind::kSigned, "-2147483648", V, V, INT32_MIN},
      {Kind::kSigned, "2147483648", L, V, 2147483648},
      {Kind::kSigned, "-2147483649", L, V, -2147483649},
      {Kind::kSigned, "9223372036854775807", L, V, INT64_MAX},
      {Kind::kSigned, "-9223372036854775808", L, V, INT64_MIN},
      {Kind::kSigned, "9223372036854775808", L, L, 0},
      {Kind::kSigned, "-9223372036854775809", L, L, 0},
      {Kind::kSigned, "-", N, N, 0},
      {Kind::kSigned, "--1", N, N, 0},
      {Kind::kSigned, "- 1", N, N, 0},
  };
  for (const auto& row : rows) {
    const auto check = [&row](auto parse, auto width32, auto width64) {
      CheckRow<decltype(width32), decltype(width64)>(parse, row.text, row.at32, row.at64,
                                                     row.value);
    };
    if (row.kind == Kind::kUnsigned)
      check([](auto w, const char* t, auto... f) { return ParseUnsigned<decltype(w)>(t, f...); },
            std::uint32_t{}, std::uint64_t{});
    if (row.kind == Kind::kHex)
      check([](auto w, const char* t, auto... f) { return ParseHex<decltype(w)>(t, f...); },
            std::uint32_t{}, std::uint64_t{});
    if (row.kind == Kind::kSigned)
      check([](auto w, const char* t, auto... f) { return ParseSigned<decltype(w)>(t, f...); },
            std::int32_t{}, std::int64_t{});
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

TEST(Numerals, FormattersPadWithZerosUpToTheirCapacity) {
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
      {TextOf([] { return FormatHex(255u, 0); }), "ff"},
      {TextOf([] { return FormatHex(0xABCu, 6); }), "000abc"},
      {TextOf([] { return FormatHex(1u, 9); }), "capacity exceeded"},
      {TextOf([] { return FormatHex(UINT64_MAX, 16); }), "ffffffffffffffff"},
      {TextOf([] { return FormatHex(std::uint64_t{1}, 17); }), "capacity exceeded"},
      {TextOf([] { return FormatSigned(-5, 3); }), "-005"},
      {TextOf([] { return FormatSigned(1, 11); }), "00000000001"},
      {TextOf([] { return FormatSigned(-1, 11); }), "capacity exceeded"},
      {TextOf([] { return FormatSigned(INT32_MIN, 10); }), "-2147483648"},
      {TextOf([] { return FormatSigned(INT64_MIN, 0); }), "-9223372036854775808"},
      {TextOf([] { return FormatSigned(std::int64_t{-1}, 20); }), "-00000000000000000001"},
      {TextOf([] { return FormatSigned(std::int64_t{-1}, 21); }), "capacity exceeded"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.text, row.expected);
}

}  // namespace
