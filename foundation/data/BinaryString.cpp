#include "foundation/data/BinaryString.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/StreamTranscoder.h"
#include "foundation/text/UTextReceiver.h"

#include <algorithm>

bool IsValidUTF8(const char* begin, const char* end) noexcept {
  if (begin == end) return true;
  // The transcoder is the one definition of well-formed UTF-8 in the program; a check of its own
  // here could drift from what the conversions later accept.
  try {
    UStringBuilder<UTF16> scratch;
    StreamTranscoder<UTF16, UTF8> transcoder(scratch);
    transcoder.Start();
    transcoder.Receive(begin, end);
    if (transcoder.HasIncompleteSequence()) return false;
    transcoder.End();
    return true;
  } catch (...) {
    // Whatever stops the conversion, the bytes are not proven to be text.
    return false;
  }
}

ByteRange AsUTF8(const BinaryString& bytes) {
  if (!IsValidUTF8(bytes)) throw UnrepresentableBinaryStringU8();
  return {bytes.begin(), bytes.end()};
}

AutoUString<UTF8> ToUTF8String(const BinaryString& bytes) {
  const ByteRange text = AsUTF8(bytes);
  return AutoUString<UTF8>(text.begin, text.end);
}

std::vector<ByteRange> SplitBinary(const char* begin, const char* end, char separator,
                                   SplitFlags flags) {
  std::vector<ByteRange> pieces;
  const char* pieceBegin = begin;
  while (true) {
    const char* pieceEnd = std::find(pieceBegin, end, separator);
    if (flags == SplitFlags::kKeepEmpty || pieceBegin != pieceEnd) {
      pieces.emplace_back(pieceBegin, pieceEnd);
    }
    if (pieceEnd == end) return pieces;
    pieceBegin = pieceEnd + 1;
  }
}
