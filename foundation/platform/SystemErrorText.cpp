#include "foundation/platform/SystemErrorText.h"

#include "foundation/data/Digits.h"
#include "foundation/text/LocaleConversion.h"
#include "text/format/FormatArguments.h"
#include "text/format/FormatWith.h"

#include <string.h>
#include <cstring>

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

AutoUString<UTF8> LowerCaseHex(std::uint32_t value) {
  char digits[8];
  const char* first = WriteDigitsBefore(digits + sizeof digits, value, 16);
  return AutoUString<UTF8>(first, digits + sizeof digits);
}

}  // namespace

AutoUString<UTF8> SystemErrorText(std::uint32_t error) {
  char buffer[kSystemTextBytes] = {};
  const char* systemText =
      SystemTextFrom(strerror_r(static_cast<int>(error), buffer, sizeof buffer), buffer);
  const AutoUString<UTF8> systemTextUTF8 =
      systemText != nullptr ? LocaleToUTF8(systemText) : AutoUString<UTF8>();
  const AutoUString<UTF8> hex = LowerCaseHex(error);

  const ByteRange format = "Error 0x{e}%: {s}";
  return FormatWith(format, BindArguments(format, {hex, systemTextUTF8}));
}
