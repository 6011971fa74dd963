// Binding values to the variables of a format text. Values are given in the order in which the
// variable occurrences appear; the result is sorted by name so the formatter can search it.
// Every range stays borrowed: the format text and the values must outlive the bound arguments.
#pragma once

#include "foundation/data/ByteRange.h"

#include <vector>

struct BoundArgument {
  ByteRange name;
  ByteRange value;
};

// Sorted by name, then by value.
using BoundArguments = std::vector<BoundArgument>;

// Throws ImproperFormatVariableName for an empty name or a byte after the first that is not an
// ASCII letter or digit, UndefinedFormatVariable for a name with "_" that is not special.
void ValidateVariableName(ByteRange name);

// One pair per non-special variable occurrence. Running out of values throws
// TooManyFormatArguments (the text asks for more than given); values left over throw
// TooFewFormatArguments (the text uses fewer than given).
[[nodiscard]] BoundArguments BindArguments(ByteRange format, const std::vector<ByteRange>& values);
