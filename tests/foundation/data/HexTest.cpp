#include "foundation/data/Hex.h"

#include "foundation/platform/ExceptionPL.h"

#include <cctype>
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

std::string Repeat(const std::string& piece, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += piece;
  return result;
}

TEST(Hex, ToHexWritesTwoLowerCaseDigitsPerByte) {
  struct Row {
    std::string bytes, hex;
  };
  const Row rows[] = {
      {"", ""},
      {std::string("\x00\xAB\xFF", 3), "00abff"},
      {"\x0F\xF0\x10\x09", "0ff01009"},
      // Past the inline buffer, so the text moves to the heap.
      {std::string(40, '\x5A'), Repeat("5a", 40)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.hex);
    EXPECT_EQ(ToHexText(row.bytes), row.hex);
  }
}

TEST(Hex, EveryByteValueRoundTripsWithDigitsInEitherCase) {
  std::string all;
  for (int value = 0; value < 256; ++value) all.push_back(static_cast<char>(value));
  const AutoUString<UTF8> hex = ToHex(all.data(), all.data() + all.size());
  EXPECT_EQ(std::string(hex.begin(), hex.begin() + 6), "000102");
  const BinaryString back = FromHex(hex);
  EXPECT_EQ(std::string(back.begin(), back.end()), all);
  std::string upper(hex.begin(), hex.end());
  for (char& digit : upper)
    digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
  EXPECT_EQ(FromHexText(upper), all);
  EXPECT_EQ(FromHexText(""), "");
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
