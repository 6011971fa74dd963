// Encodes a whole byte range as one Base64 text, padding included and without line breaks, and
// appends it to a narrow string. For values small enough to encode at once.
#pragma once

#include <string>

void AppendBase64(const char* begin, const char* end, std::string& target);
