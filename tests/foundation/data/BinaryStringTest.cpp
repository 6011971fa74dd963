#include "foundation/data/BinaryString.h"

#include "foundation/platform/StandardExceptions.h"

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
static_assert(!Appends<UString8, CopiedUString<Binary8Bit>>::value);
static_assert(Appends<UString8, UString8>::value && Appends<BinaryString, BinaryString>::value);
static_assert(Appends<UString8, AutoUString<USAscii>>::value &&
              Appends<UString8, std::string>::value);

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

TEST(BinaryString, UTF8ViewsBorrowOrCopyValidBytesAndRejectInvalidOnes) {
  // Longer than the inline buffer, so the copy needs a block of its own.
  const BinaryString text = Bytes(std::string(70, 'x') + "caf\xC3\xA9");
  const ByteRange range = AsUTF8(text);
  EXPECT_EQ(range.begin, text.begin());
  EXPECT_EQ(range.end, text.end());
  const AutoUString<UTF8> copy = ToUTF8String(text);
  EXPECT_EQ(std::string(copy.begin(), copy.end()), std::string(text.begin(), text.end()));
  EXPECT_NE(copy.begin(), text.begin());

  const std::string invalid = "ab\xC3(\xFF";
  const BinaryString bytes = Bytes(invalid);
  EXPECT_THROW((void)AsUTF8(bytes), UnrepresentableBinaryStringU8);
  EXPECT_THROW((void)ToUTF8String(bytes), UnrepresentableBinaryStringU8);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), invalid);
}

TEST(BinaryString, SplitBinaryCutsAtEverySeparator) {
  struct Row {
    std::string input;
    std::vector<std::string> kept;
    std::vector<std::string> skipped;
  };
  const Row rows[] = {
      {"", {""}, {}},
      {"abc", {"abc"}, {"abc"}},
      {"/", {"", ""}, {}},
      {"a/b/c", {"a", "b", "c"}, {"a", "b", "c"}},
      {"/usr/lib", {"", "usr", "lib"}, {"usr", "lib"}},
      {"usr/lib/", {"usr", "lib", ""}, {"usr", "lib"}},
      {"a//b", {"a", "", "b"}, {"a", "b"}},
      {"//", {"", "", ""}, {}},
      {std::string("\xFF/\0/\x80", 5),
       {"\xFF", std::string(1, '\0'), "\x80"},
       {"\xFF", std::string(1, '\0'), "\x80"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.input));
    const BinaryString bytes = Bytes(row.input);
    for (const SplitFlags flags : {SplitFlags::kKeepEmpty, SplitFlags::kSkipEmpty}) {
      std::vector<std::string> pieces;
      for (const ByteRange& piece : SplitBinary(bytes, '/', flags)) {
        EXPECT_TRUE(piece.begin >= bytes.begin() && piece.end <= bytes.end());
        pieces.emplace_back(piece.begin, piece.end);
      }
      EXPECT_EQ(pieces, flags == SplitFlags::kKeepEmpty ? row.kept : row.skipped);
    }
  }
}

TEST(BinaryString, SplitBinaryTakesAnyByteAsSeparator) {
  const std::string input("one\0two\0", 8);
  std::vector<std::string> pieces;
  for (const ByteRange& piece :
       SplitBinary(input.data(), input.data() + input.size(), '\0', SplitFlags::kSkipEmpty)) {
    pieces.emplace_back(piece.begin, piece.end);
  }
  EXPECT_EQ(pieces, (std::vector<std::string>{"one", "two"}));
}

}  // namespace
