#include "text/format/FormatPiece.h"

#include "text/format/FormatErrors.h"

#include <algorithm>

bool NextPiece(const char* position, const char* end, FormatPiece& piece) {
  if (position == end) return false;
  const char* open = std::find(position, end, '{');
  if (open != position) {
    piece = {FormatPiece::Kind::Literal, {position, open}, open};
    return true;
  }
  const char* close = std::find(open + 1, end, '}');
  if (close == end) throw BadFormatStringError();
  piece = {FormatPiece::Kind::Variable, {open + 1, close}, close + 1};
  return true;
}
