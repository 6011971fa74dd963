#include "ui/FormatBuiltIn.h"

#include "text/format/FormatArguments.h"
#include "text/format/FormatString.h"
#include "text/format/FormatWith.h"

UString8 FormatBuiltIn(ByteRange builtIn, const std::vector<ByteRange>& values) {
  const FormatString format = LookupFormat(builtIn);
  return FormatWith(format.text, BindArguments(format.text, values));
}
