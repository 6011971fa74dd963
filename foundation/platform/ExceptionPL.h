// An exception whose words are given where it is thrown rather than by its class: the same class
// serves several failures of one reader (the duration reader's malformed text, overflow and
// precision).
#pragma once

#include "foundation/platform/DebuggableException.h"

class ExceptionPL : public DebuggableException {
 public:
  // message is a string literal: the exception keeps the pointer.
  explicit ExceptionPL(const char* message) noexcept : message_(message) {}

 protected:
  [[nodiscard]] const char* Description() const noexcept override { return message_; }

 private:
  const char* message_;
};
