#include "foundation/data/Hex.h"

#include "foundation/platform/ExceptionPL.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string ToHexText(const std::string& bytes) {
  const AutoUString<UTF8> text = ToHex(bytes.data(), bytes.data() + bytes.size());
  return std::string(text.begin(), text.end());
}

std::string FromHexText(const std::string& text) {
  const BinaryString bytes = FromHex(text.data(), text.data() + text.size());
  return std::string(bytes.begin(), bytes.end());
}

// Every byte value, as two lower-case digits each, long enough to need the heap; round trips with
// digits in either case.
TEST(Hex, EveryByteValueRoundTripsWithDigitsInEitherCase) {
  std::string all, lower, upper;
  for (int value = 0; value < 256; ++value) {
    all.push_back(static_cast<char>(value));
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", value);
    lower += digits;
    std::snprintf(digits, sizeof digits, "%02X", value);
    upper += digits;
  }
  EXPECT_EQ(ToHexText(all), lower);
  EXPECT_EQ(ToHexText(""), "");
  EXPECT_EQ(FromHexText(lower), all);
  EXPECT_EQ(FromHexText(upper), all);
  EXPECT_EQ(FromHexText(""), "");
  const AutoUString<UTF8> hex = ToHex(all.data(), all.data() + all.size());
  const BinaryString back = FromHex(hex);
  EXPECT_EQ(std::string(back.begin(), back.end()), all);
}

TEST(Hex, FromHexRejectsOddLengthsAndNonDigits) {
  // Each neighbour of a digit range, a digit in the second place after a bad first one, and a
  // bad pair after good ones.
  for (const char* text :
       {"0", "abc", "0g", "g0", "0G", "/0", ":0", "@0", "`0", "0 ", "0x12", "00ff0-", "\xC3\xA9"}) {
    SCOPED_TRACE(text);
    try {
      (void)FromHexText(text);
      ADD_FAILURE() << "no exception";
    } catch (const NotValidHEX& error) {
      EXPECT_STREQ(error.what(), "Input is not valid hexadecimal.");
    }
  }
}

}  // namespace
