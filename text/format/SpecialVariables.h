// The variables every format text may use without a value: the braces themselves and the
// control characters that cannot be typed into a one-line override entry.
#pragma once

#include "foundation/data/ByteRange.h"

#include <cstddef>

struct SpecialVariable {
  const char* name;
  const char* replacement;
};

// Sorted by name, so that lookups can search it.
inline constexpr std::size_t kSpecialVariableCount = 6;
extern const SpecialVariable SpecialVariables[kSpecialVariableCount];

// The entry for name, or nullptr when name is not one of the special variables.
[[nodiscard]] const SpecialVariable* FindSpecialVariable(ByteRange name) noexcept;
