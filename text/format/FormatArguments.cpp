#include "text/format/FormatArguments.h"

#include "text/format/FormatErrors.h"
#include "text/format/FormatPiece.h"
#include "text/format/SpecialVariables.h"

#include <algorithm>

namespace {

bool IsAsciiLetterOrDigit(char byte) noexcept {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9');
}

bool IsSpecialName(ByteRange name) noexcept { return !name.empty() && *name.begin == '_'; }

}  // namespace

void ValidateVariableName(ByteRange name) {
  if (name.empty()) throw ImproperFormatVariableName();
  if (IsSpecialName(name)) {
    if (FindSpecialVariable(name) == nullptr) throw UndefinedFormatVariable();
    return;
  }
  if (!std::all_of(name.begin + 1, name.end, IsAsciiLetterOrDigit))
    throw ImproperFormatVariableName();
}

BoundArguments BindArguments(ByteRange format, const std::vector<ByteRange>& values) {
  BoundArguments bound;
  auto nextValue = values.begin();
  FormatPiece piece;
  for (const char* p = format.begin; NextPiece(p, format.end, piece); p = piece.next) {
    if (piece.kind != FormatPiece::Kind::Variable) continue;
    ValidateVariableName(piece.text);
    if (IsSpecialName(piece.text)) continue;
    if (nextValue == values.end()) throw TooManyFormatArguments();
    bound.push_back({piece.text, *nextValue++});
  }
  if (nextValue != values.end()) throw TooFewFormatArguments();
  std::sort(bound.begin(), bound.end(), [](const BoundArgument& a, const BoundArgument& b) {
    const int byName = ByteRange::Compare(a.name, b.name);
    return byName != 0 ? byName < 0 : ByteRange::Compare(a.value, b.value) < 0;
  });
  return bound;
}
