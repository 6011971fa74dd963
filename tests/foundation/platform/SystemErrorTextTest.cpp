#include "foundation/platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string Text(std::uint32_t error) {
  const AutoUString<UTF8> text = SystemErrorText(error);
  return std::string(text.begin(), text.end());
}

TEST(SystemErrorText, LowerCaseHexThenPercentColonAndTheSystemText) {
  struct Row {
    std::uint32_t error;
    const char* prefix;
  };
  const Row rows[] = {
      {0, "Error 0x0%: "},
      {EACCES, "Error 0xd%: "},
      {ENOENT, "Error 0x2%: "},
      {255, "Error 0xff%: "},
      {0xdeadbeef, "Error 0xdeadbeef%: "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.prefix);
    const std::string text = Text(row.error);
    ASSERT_EQ(text.compare(0, std::strlen(row.prefix), row.prefix), 0) << text;
  }
  EXPECT_EQ(Text(EACCES), std::string("Error 0xd%: ") + std::strerror(EACCES));
}

}  // namespace
