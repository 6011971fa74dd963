// Filling in a format text: literal pieces are copied, special variables give their fixed text
// and every other variable the first value bound to its name.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"
#include "text/format/FormatArguments.h"

// The arguments must be sorted as BindArguments leaves them. A variable without a bound value
// throws UndefinedFormatVariable, an unclosed brace BadFormatStringError; nothing is returned
// then.
[[nodiscard]] AutoUString<UTF8> FormatWith(ByteRange format, const BoundArguments& arguments);
