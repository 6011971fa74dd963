#include "foundation/platform/ExceptionPL.h"

#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

namespace {

std::string Text(const DebuggableException& error) {
  const auto range = error.text();
  return std::string(range.begin, range.end);
}

TEST(ExceptionPL, ReportsItsMessageOrElseItsTypeName) {
  const ExceptionPL withMessage("Could not convert XMLDuration to TimeInterval");
  EXPECT_EQ(Text(withMessage), "Could not convert XMLDuration to TimeInterval");
  EXPECT_STREQ(withMessage.what(), "Could not convert XMLDuration to TimeInterval");

  const ExceptionPL empty("");
  EXPECT_EQ(Text(empty), typeid(ExceptionPL).name());
  EXPECT_STREQ(empty.what(), typeid(ExceptionPL).name());
}

}  // namespace
