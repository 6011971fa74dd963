// Appending a piece of a string to itself, where the append moves the storage it reads from.
#include <gtest/gtest.h>

#include <string>

#include "foundation/text/AutoUString.h"

namespace {

std::string AsStd(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(AutoUStringAliasingTest, SelfAppendSurvivesEveryStorageMove) {
  struct Case {
    const char* name;
    std::size_t length;  // of the starting text
    bool borrowed;
  };
  // Inline to heap, heap to a larger heap block, and borrowed storage made owned first.
  for (const Case& c :
       {Case{"inline", 40, false}, Case{"heap", 100, false}, Case{"borrowed", 50, true}}) {
    std::string source;
    for (std::size_t i = 0; i < c.length; ++i) source += static_cast<char>('a' + i % 26);
    UString8 text = c.borrowed ? UString8::Borrow(source.data(), source.data() + source.size())
                               : UString8(source.data(), source.data() + source.size());
    const std::size_t grownTo = c.length + c.length - 3;
    text.Append(text.begin() + 3, text.end());
    ASSERT_EQ(text.size(), grownTo) << c.name;
    EXPECT_EQ(AsStd(text), source + source.substr(3)) << c.name;
    // A borrowed source stays as it was.
    EXPECT_EQ(source.size(), c.length) << c.name;
  }
}

}  // namespace
