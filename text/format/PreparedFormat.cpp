#include "text/format/PreparedFormat.h"

#include "foundation/text/UTextReceiver.h"
#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatPiece.h"
#include "text/format/FormatWith.h"
#include "text/format/SpecialVariables.h"

#include <algorithm>

PreparedFormat::PreparedFormat(ByteRange format) : format_(format) {
  std::vector<ByteRange> names;
  try {
    FormatPiece piece;
    for (const char* p = format.begin; NextPiece(p, format.end, piece); p = piece.next) {
      if (piece.kind == FormatPiece::Kind::Literal) {
        pieces_.push_back({piece.text, kFixed});
        continue;
      }
      ValidateVariableName(piece.text);
      // Validated: a name with "_" is one of the special variables.
      if (*piece.text.begin == '_') {
        pieces_.push_back({ByteRange(FindSpecialVariable(piece.text)->replacement), kFixed});
        continue;
      }
      const auto known = std::find(names.begin(), names.end(), piece.text);
      const auto group = static_cast<std::size_t>(known - names.begin());
      if (known == names.end()) {
        names.push_back(piece.text);
        groups_.emplace_back();
      }
      groups_[group].push_back(valueCount_++);
      pieces_.push_back({ByteRange(), group});
    }
    prepared_ = true;
  } catch (const FormatError&) {
    pieces_.clear();
    groups_.clear();
  }
}

AutoUString<UTF8> PreparedFormat::Fill(const ByteRange* valuesBegin,
                                       const ByteRange* valuesEnd) const {
  // The binder's errors, in its order, come from the unprepared way.
  if (!prepared_ || static_cast<std::size_t>(valuesEnd - valuesBegin) != valueCount_) {
    return FormatWith(format_, BindArguments(format_, {valuesBegin, valuesEnd}));
  }
  const ByteRange* values = valuesBegin;
  UStringBuilder<UTF8> result;
  for (const Piece& piece : pieces_) {
    ByteRange text = piece.text;
    if (piece.group != kFixed) {
      // The formatter takes a name's smallest value when the name is bound more than once.
      const std::vector<std::size_t>& positions = groups_[piece.group];
      text = values[positions.front()];
      for (const std::size_t position : positions) {
        if (ByteRange::Compare(values[position], text) < 0) text = values[position];
      }
    }
    result.Append(text.begin, text.end);
  }
  return result.Take();
}
