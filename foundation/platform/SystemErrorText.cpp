#include "foundation/platform/SystemErrorText.h"

#include "foundation/data/Digits.h"
#include "foundation/text/LocaleConversion.h"

#include <string.h>

namespace {

constexpr std::size_t kSystemTextBytes = 256;

// strerror_r comes in two forms: the POSIX one returns 0 or an error number and fills the
// buffer, the GNU one returns the text (not necessarily in the buffer). Both end up here.
[[maybe_unused]] const char* SystemTextFrom(int result, const char* buffer) noexcept {
  return result == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* SystemTextFrom(const char* result, const char*) noexcept {
  return result;
}

}  // namespace

AutoUString<UTF8> SystemErrorText(std::uint32_t error) {
  char buffer[kSystemTextBytes] = {};
  const char* systemText =
      SystemTextFrom(strerror_r(static_cast<int>(error), buffer, sizeof buffer), buffer);
  char digits[8];
  const char* const digitsEnd = digits + sizeof digits;
  AutoUString<UTF8> text("Error 0x");
  text.Append(WriteDigitsBefore(digits + sizeof digits, error, 16), digitsEnd);
  text.Append(UString8("%: "));
  if (systemText != nullptr) text.Append(LocaleToUTF8(systemText));
  return text;
}
