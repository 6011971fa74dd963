// The XML duration form in which messages carry intervals ("PT1H30M", "-P1DT1S"): days, hours,
// minutes and seconds with up to six fraction digits; years and months are not accepted.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/TimeInterval.h"

// Throws ExceptionPL with the plain message for a malformed text, with the precision message for
// more than six fraction digits and with the overflow message for a number beyond 32 bits or a
// total beyond a TimeInterval.
[[nodiscard]] TimeInterval ParseXMLDuration(const char* begin, const char* end);
[[nodiscard]] TimeInterval ParseXMLDuration(const UString8& text);

// Days, then hours, minutes and seconds only where present; zero is "PT0S".
[[nodiscard]] UString8 FormatXMLDuration(TimeInterval interval);
