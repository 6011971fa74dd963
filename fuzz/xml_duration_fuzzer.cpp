// Interval texts: the reader lets only its own three messages escape, and whatever it reads the
// writer puts in a form that reads back to the same interval. The first eight bytes also make an
// interval of their own, so the writer meets every value, the extremes among them.
#include "fuzz/FuzzCheck.h"

#include "foundation/platform/ExceptionPL.h"
#include "text/time/XMLDuration.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

void CheckReadsBack(TimeInterval interval) {
  const UString8 text = FormatXMLDuration(interval);
  QVX_FUZZ_CHECK(ParseXMLDuration(text) == interval);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  try {
    CheckReadsBack(ParseXMLDuration(text, text + size));
  } catch (const ExceptionPL& error) {
    const std::string message = error.what();
    QVX_FUZZ_CHECK(message.rfind("Could not convert XMLDuration to TimeInterval", 0) == 0);
  }
  std::int64_t microseconds = 0;
  if (size >= sizeof microseconds) {
    std::memcpy(&microseconds, data, sizeof microseconds);
    CheckReadsBack(TimeInterval::Microseconds(microseconds));
  }
  return 0;
}
