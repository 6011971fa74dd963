#include "foundation/data/BinaryString.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/StreamTranscoder.h"
#include "foundation/text/UTextReceiver.h"

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

AutoUString<UTF8> ToUTF8String(const BinaryString& bytes) {
  if (!IsValidUTF8(bytes)) throw UnrepresentableBinaryStringU8();
  return AutoUString<UTF8>(bytes.begin(), bytes.end());
}
