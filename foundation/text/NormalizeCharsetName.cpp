#include "foundation/text/NormalizeCharsetName.h"

#include <unicode/ucnv.h>

namespace {

// ICU opens both under these names but reports no IANA name for them, and the Korean aliases
// would otherwise be taken for EUC-KR.
constexpr const char* kKoreanWindowsAliases[] = {
    "windows-949-2000", "windows-949", "KS_C_5601-1987", "KS_C_5601-1989", "KSC_5601",
    "csKSC56011987",    "korean",      "iso-ir-149",     "ms949",          "x-KSC5601"};
constexpr const char* kThaiWindowsAliases[] = {"windows-874-2000", "TIS-620", "windows-874",
                                               "MS874", "x-windows-874"};
constexpr const char* kKoreanWindows = "windows-949-2000";
constexpr const char* kThaiWindows = "windows-874-2000";

template <std::size_t N>
bool IsOneOf(const char* name, const char* const (&aliases)[N]) {
  for (const char* alias : aliases) {
    // Case, blanks, dashes and underscores do not count, as everywhere ICU compares names.
    if (ucnv_compareNames(name, alias) == 0) return true;
  }
  return false;
}

}  // namespace

std::string NormalizeCharsetName(const char* name) {
  if (IsOneOf(name, kKoreanWindowsAliases)) return kKoreanWindows;
  UErrorCode status = U_ZERO_ERROR;
  const char* iana = ucnv_getStandardName(name, "IANA", &status);
  if (U_FAILURE(status) || iana == nullptr || *iana == '\0') {
    if (IsOneOf(name, kThaiWindowsAliases)) return kThaiWindows;
    return name;
  }
  return iana;
}
