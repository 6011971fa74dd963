// Counts the heap blocks the calling thread takes through any form of operator new, so that a
// test can show a piece of code never touches the heap. The replacement operators live in the
// matching .cpp and serve the whole test binary.
#pragma once

#include <cstdint>

// Blocks this thread has allocated with operator new since it started.
[[nodiscard]] std::uint64_t HeapAllocationsOnThisThread() noexcept;
