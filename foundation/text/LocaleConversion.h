// Conversions between the locale's narrow encoding and UTF-8: the border where system calls,
// exception texts and widget strings meet the program's UTF-8 text.
#pragma once

#include "foundation/text/AutoUString.h"

#include <string>

// True when the C library's current character set (nl_langinfo(CODESET)) is "UTF-8".
[[nodiscard]] bool LocaleIsUTF8();

// Locale text to UTF-8; throws UnixPlatform::MultiByteToWideConvertError on malformed input.
[[nodiscard]] AutoUString<UTF8> LocaleToUTF8(const char* begin, const char* end);
[[nodiscard]] AutoUString<UTF8> LocaleToUTF8(const char* text);

// UTF-8 to locale text; throws UnixPlatform::WideToMultiByteConvertError when a character
// has no form in the locale's encoding, InvalidTextEncoding on malformed UTF-8.
[[nodiscard]] std::string UTF8ToLocale(const char* begin, const char* end);
[[nodiscard]] std::string UTF8ToLocale(const UString8& text);
// The same, appended to target, which an exception leaves as it was: for texts put together from
// several converted parts without a string for each.
void AppendUTF8ToLocale(std::string& target, const char* begin, const char* end);
