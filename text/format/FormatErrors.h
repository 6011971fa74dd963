// The failures of format strings and override tables. None carries data. FormatError is the common
// base, for callers that treat any of them alike.
#pragma once

#include "foundation/platform/DebuggableException.h"

QVX_DECLARE_EXCEPTION(FormatError, DebuggableException, "format text error");
// An opening brace that is never closed.
QVX_DECLARE_EXCEPTION(BadFormatStringError, FormatError, "brace never closed in a format text");
// An empty variable name, or one with a byte other than an ASCII letter or digit after the first.
QVX_DECLARE_EXCEPTION(ImproperFormatVariableName, FormatError,
                      "improper variable name in a format text");
// A name starting with "_" that is not special, or a variable without a bound value.
QVX_DECLARE_EXCEPTION(UndefinedFormatVariable, FormatError, "undefined variable in a format text");
// The text has more variable occurrences than values were given.
QVX_DECLARE_EXCEPTION(TooManyFormatArguments, FormatError,
                      "more variables in a format text than values");
// Values were left over after the last variable occurrence.
QVX_DECLARE_EXCEPTION(TooFewFormatArguments, FormatError,
                      "values left over after the variables of a format text");
// An override table was asked for a key it does not hold.
QVX_DECLARE_EXCEPTION(FormatOverrideNotFound, FormatError, "no override for the text");
