#include "ui/FormatBuiltIn.h"

#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatString.h"
#include "text/format/FormatWith.h"

UString8 FormatBuiltIn(ByteRange builtIn, const std::vector<ByteRange>& values) {
  const FormatString format = LookupFormat(builtIn);
  return FormatWith(format.text, BindArguments(format.text, values));
}

UString8 FormatBuiltInOrMarker(ByteRange builtIn, const std::vector<ByteRange>& values) {
  try {
    return FormatBuiltIn(builtIn, values);
  } catch (const FormatError&) {
    return UString8(kInvalidString);
  }
}

BuiltInFormat::BuiltInFormat(ByteRange builtIn)
    : format_(LookupFormat(builtIn)), prepared_(format_.text) {}

UString8 BuiltInFormat::FillOrMarker(std::initializer_list<ByteRange> values) const {
  try {
    return prepared_.Fill(values.begin(), values.end());
  } catch (const FormatError&) {
    return UString8(kInvalidString);
  }
}
