// Byte strings: the UTF-8 check and views, splitting at a separator byte, and hex text.
#include "foundation/data/BinaryString.h"

#include "foundation/data/Hex.h"
#include "foundation/platform/StandardExceptions.h"

#include <cstdio>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Bytes become text only through the UTF-8 check: a text string takes no binary string as it is.
template <class To, class From, class = void>
struct Appends : std::false_type {};
template <class To, class From>
struct Appends<To, From,
               std::void_t<decltype(std::declval<To&>().Append(std::declval<const From&>()))>>
    : std::true_type {};
static_assert(!Appends<UString8, BinaryString>::value);
static_assert(Appends<UString8, UString8>::value && Appends<BinaryString, BinaryString>::value);
static_assert(Appends<UString8, std::string>::value);

BinaryString Bytes(const std::string& bytes) {
  return BinaryString(bytes.data(), bytes.data() + bytes.size());
}

TEST(BinaryString, IsValidUTF8AcceptsOnlyWellFormedSequences) {
  struct Row {
    std::string bytes;
    bool valid;
  };
  // The transcoder's own tests hold every malformed form; here the two ways a check fails (a
  // refused sequence, a sequence cut off at the end) and the edges that pass.
  const Row rows[] = {
      {"", true},
      {std::string("plain ASCII\0with NUL", 20), true},
      {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last code point
      {"\xE2\x82", false},
      {"\xC0\x80", false},
      {"\xF4\x90\x80\x80", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.bytes));
    EXPECT_EQ(IsValidUTF8(row.bytes.data(), row.bytes.data() + row.bytes.size()), row.valid);
    EXPECT_EQ(IsValidUTF8(Bytes(row.bytes)), row.valid);
  }
}

TEST(BinaryString, UTF8CopiesTakeValidBytesAndRejectInvalidOnes) {
  // Longer than the inline buffer, so the copy needs a block of its own.
  const BinaryString text = Bytes(std::string(70, 'x') + "caf\xC3\xA9");
  const AutoUString<UTF8> copy = ToUTF8String(text);
  EXPECT_EQ(std::string(copy.begin(), copy.end()), std::string(text.begin(), text.end()));
  EXPECT_NE(copy.begin(), text.begin());

  const std::string invalid = "ab\xC3(\xFF";
  const BinaryString bytes = Bytes(invalid);
  EXPECT_THROW((void)ToUTF8String(bytes), UnrepresentableBinaryStringU8);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), invalid);
}

std::string ToHexText(const std::string& bytes) {
  const AutoUString<UTF8> text = ToHex(bytes.data(), bytes.data() + bytes.size());
  return std::string(text.begin(), text.end());
}

// Every byte value, as two lower-case digits each, long enough to need the heap.
TEST(Hex, EveryByteValueIsTwoLowerCaseDigits) {
  std::string all, lower;
  for (int value = 0; value < 256; ++value) {
    all.push_back(static_cast<char>(value));
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", value);
    lower += digits;
  }
  EXPECT_EQ(ToHexText(all), lower);
  EXPECT_EQ(ToHexText(""), "");
}

}  // namespace
