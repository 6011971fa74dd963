#include "foundation/text/ICUResult.h"

#include <unicode/utypes.h>

ICUResult::ICUResult(std::int32_t errorCode, const char* functionName)
    : text_("UErrorCode=" + std::to_string(errorCode) + " [" +
            u_errorName(static_cast<UErrorCode>(errorCode)) + "]") {
  if (*functionName != '\0') text_.append(" in ").append(functionName);
}
