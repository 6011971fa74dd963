#include "text/format/FormatWith.h"

#include "foundation/text/UTextReceiver.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatPiece.h"
#include "text/format/SpecialVariables.h"

#include <algorithm>

namespace {

ByteRange VariableText(ByteRange name, const BoundArguments& arguments) {
  if (!name.empty() && *name.begin == '_') {
    const SpecialVariable* special = FindSpecialVariable(name);
    if (special == nullptr) throw UndefinedFormatVariable();
    return special->replacement;
  }
  auto found = std::lower_bound(arguments.begin(), arguments.end(), name,
                                [](const BoundArgument& argument, ByteRange wanted) {
                                  return ByteRange::Compare(argument.name, wanted) < 0;
                                });
  if (found == arguments.end() || found->name != name) throw UndefinedFormatVariable();
  return found->value;
}

}  // namespace

AutoUString<UTF8> FormatWith(ByteRange format, const BoundArguments& arguments) {
  UStringBuilder<UTF8> result;
  FormatPiece piece;
  for (const char* p = format.begin; NextPiece(p, format.end, piece); p = piece.next) {
    const ByteRange text =
        piece.kind == FormatPiece::Kind::Literal ? piece.text : VariableText(piece.text, arguments);
    result.Append(text.begin, text.end);
  }
  return result.Take();
}
