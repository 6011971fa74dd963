// Turning a failed system call's errno into the matching file error. The general mapping serves
// making, emptying, listing and inspecting; the writing mapping adds "exists" and "disk full"
// for opens and writes; the positioning mapping adds the seek error for positioned writes; the
// reading mapping is the short table for readers. Each throws and never returns.
#pragma once

#include "foundation/text/AutoUString.h"

#include <cstdint>

[[noreturn]] void ThrowFileError(const AutoUString<UTF8>& path, std::uint32_t error);
[[noreturn]] void ThrowFileWritingError(const AutoUString<UTF8>& path, std::uint32_t error);
[[noreturn]] void ThrowFilePositioningError(const AutoUString<UTF8>& path, std::uint32_t error);
[[noreturn]] void ThrowFileReadingError(const AutoUString<UTF8>& path, std::uint32_t error);
