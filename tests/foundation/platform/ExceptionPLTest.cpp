#include "foundation/platform/ExceptionPL.h"

#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

namespace {

std::string Text(const DebuggableException& error) {
  const auto range = error.text();
  return std::string(range.first, range.second);
}

TEST(ExceptionPL, ReportsItsMessageOrElseItsTypeName) {
  const ExceptionPL withMessage("Could not convert XMLDuration to TimeInterval");
  EXPECT_EQ(Text(withMessage), "Could not convert XMLDuration to TimeInterval");
  EXPECT_STREQ(withMessage.what(), "Could not convert XMLDuration to TimeInterval");

  const ExceptionPL empty("");
  EXPECT_EQ(Text(empty), typeid(ExceptionPL).name());
  EXPECT_STREQ(empty.what(), typeid(ExceptionPL).name());
}

TEST(ExceptionPL, FixedMessageSubclasses) {
  try {
    throw NotValidHEX();
  } catch (const ExceptionPL& caught) {
    EXPECT_STREQ(caught.what(), "Input is not valid hexadecimal.");
  }
  try {
    throw BinaryManipulationNotSupported();
  } catch (const ExceptionPL& caught) {
    EXPECT_EQ(Text(caught), "Operation not supported for Binary data.");
  }
}

TEST(ExceptionPL, CopyKeepsTheMessage) {
  auto* original = new ExceptionPL("a message longer than the sixty-four bytes of the inline buffer.....");
  const ExceptionPL copy(*original);
  delete original;
  EXPECT_STREQ(copy.what(), "a message longer than the sixty-four bytes of the inline buffer.....");
}

}  // namespace
