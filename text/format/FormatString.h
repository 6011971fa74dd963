// A built-in text after override lookup: the English wording that names it, and the text to
// format, which is the override found for it or the wording itself.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

struct FormatString {
  AutoUString<UTF8> key;
  AutoUString<UTF8> text;
};

// Looks builtIn up in the current context.
[[nodiscard]] FormatString LookupFormat(ByteRange builtIn);
