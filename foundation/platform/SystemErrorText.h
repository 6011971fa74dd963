// The readable form of a system error number, as file errors quote it and as any caller may
// show it: "Error 0x" and the number in hex, a percent sign, ": " and the system's own text.
#pragma once

#include "foundation/text/AutoUString.h"

#include <cstdint>

// The system's text is the locale's strerror_r text in UTF-8, empty when there is none.
[[nodiscard]] AutoUString<UTF8> SystemErrorText(std::uint32_t error);
