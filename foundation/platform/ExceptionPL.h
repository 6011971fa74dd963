// Exceptions that carry a fixed message of their own rather than being their own message.
// The message is kept in UTF-8; `what` hands out the locale's form of it.
#pragma once

#include "foundation/platform/DebuggableException.h"
#include "foundation/text/AutoUString.h"

#include <string>
#include <utility>

class ExceptionPL : public DebuggableException {
 public:
  // message is NUL-terminated text in the locale's encoding; a malformed one throws
  // UnixPlatform::MultiByteToWideConvertError.
  explicit ExceptionPL(const char* message);

  // The message in the locale's encoding; the type name when the message is empty or has no
  // form in the locale's encoding.
  [[nodiscard]] const char* what() const noexcept override;
  // The message, or the type name when the message is empty.
  [[nodiscard]] ByteRange text() const override;

 private:
  AutoUString<UTF8> message_;
  mutable std::string narrowMessage_;
};

// Raised when a hexadecimal text has an odd length or a byte that is not a hex digit.
class NotValidHEX : public ExceptionPL {
 public:
  NotValidHEX() : ExceptionPL("Input is not valid hexadecimal.") {}
};
