// The one spelling the program uses for a character-set name: ICU's IANA name, with the two
// Windows code pages that ICU knows under names of its own kept under those names.
#pragma once

#include <string>

// The normalised form of name (NUL-terminated): "windows-949-2000" for any alias of the Korean
// Windows code page, else ICU's IANA name, else "windows-874-2000" for an alias of the Thai
// Windows code page; a name ICU has no IANA name for is returned unchanged.
[[nodiscard]] std::string NormalizeCharsetName(const char* name);
