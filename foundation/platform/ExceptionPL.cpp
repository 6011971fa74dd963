#include "foundation/platform/ExceptionPL.h"

#include "foundation/text/LocaleConversion.h"

ExceptionPL::ExceptionPL(const char* message) : message_(LocaleToUTF8(message)) {}

ByteRange ExceptionPL::text() const {
  if (message_.empty()) return DebuggableException::text();
  return {message_.begin(), message_.end()};
}

const char* ExceptionPL::what() const noexcept {
  if (message_.empty()) return TypeName();
  if (narrowMessage_.empty()) {
    try {
      narrowMessage_ = UTF8ToLocale(message_.begin(), message_.end());
    } catch (const DebuggableException&) {
      // The locale changed to one that cannot spell the message; the class still names the error.
      return TypeName();
    }
  }
  return narrowMessage_.c_str();
}
