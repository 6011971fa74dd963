// Date-time texts: only the parser's own failures escape, and what it reads is a valid date and
// time that the mail writer writes back to the same value, and that survives the trip to an
// instant and back at its own offset.
#include "fuzz/FuzzCheck.h"

#include "text/time/MailDateTime.h"
#include "text/time/ParsingErrors.h"
#include "text/time/TimeErrors.h"
#include "text/time/TimeParser.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  ZonedDateTime time;
  try {
    time = ParseZonedDateTime(text, text + size);
  } catch (const ParsingFailure&) {
    return 0;
  } catch (const StackFull&) {
    return 0;
  } catch (const RequiredValueWouldOverflow&) {
    return 0;
  } catch (const InvalidTime&) {
    return 0;
  }
  QVX_FUZZ_CHECK(IsValidDate(time.date) && IsValidTimeOfDay(time.time));
  QVX_FUZZ_CHECK(time.offsetMicroseconds == time.offsetSeconds * 1000000);
  QVX_FUZZ_CHECK(ParseZonedDateTime(FormatMailDateTime(time)) == time);
  // Years have at most four digits, so every instant read fits a DateTime.
  const DateTime instant = ToDateTime(time);
  QVX_FUZZ_CHECK(FromDateTime(instant, time.offsetSeconds, time.offsetMicroseconds) == time);
  QVX_FUZZ_CHECK(ParseZonedDateTime(FormatMailDateTime(instant, time.offsetSeconds)) == time);
  return 0;
}
