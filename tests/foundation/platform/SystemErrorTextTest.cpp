#include "foundation/platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(SystemErrorText, LowerCaseHexThenPercentColonAndTheSystemText) {
  struct Row {
    std::uint32_t error;
    const char* prefix;
  };
  const Row rows[] = {
      {0, "Error 0x0%: "}, {EACCES, "Error 0xd%: "}, {0xdeadbeef, "Error 0xdeadbeef%: "}};
  for (const Row& row : rows) {
    const AutoUString<UTF8> text = SystemErrorText(row.error);
    EXPECT_EQ(std::string(text.begin(), text.end()).rfind(row.prefix, 0), 0u) << row.prefix;
  }
  const AutoUString<UTF8> denied = SystemErrorText(EACCES);
  EXPECT_EQ(std::string(denied.begin(), denied.end()),
            std::string("Error 0xd%: ") + std::strerror(EACCES));
}

}  // namespace
