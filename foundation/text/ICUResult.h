// The errors of the named-character-set converters: ICU's error code, ICU's name for it and the
// ICU function that reported it.
#pragma once

#include "foundation/platform/DebuggableException.h"

#include <cstdint>
#include <string>

class ICUResult : public DebuggableException {
 public:
  // functionName is empty when the failure is the program's own (a bad argument).
  ICUResult(std::int32_t errorCode, const char* functionName);

  // "UErrorCode=<code> [<ICU's name for it>] in <function>", composed when thrown.
  [[nodiscard]] const char* what() const noexcept override { return text_.c_str(); }

 protected:
  [[nodiscard]] const char* Description() const noexcept override { return "ICU call failed"; }

 private:
  std::string text_;
};
