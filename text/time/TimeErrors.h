// The failures of time values and their text forms. None carries data. InvalidTime is the base of
// the checks made on a date-time text once it has been read, for callers that treat a well-formed
// but impossible time alike.
#pragma once

#include "foundation/platform/DebuggableException.h"

QVX_DECLARE_EXCEPTION(InvalidTime, DebuggableException, "impossible time");
// The day is not in its month (or the month is not 1 to 12).
QVX_DECLARE_EXCEPTION(NoSuchDate, InvalidTime, "no such date");
// The hour, minute or second is out of range.
QVX_DECLARE_EXCEPTION(NoSuchTimeOfDay, InvalidTime, "no such time of day");
// The text names a day of the week that is not the one of its date.
QVX_DECLARE_EXCEPTION(WrongDayOfWeek, InvalidTime, "day of the week not that of the date");
// The text has no zone, or only a military letter, which sets none.
QVX_DECLARE_EXCEPTION(NoTimeZone, InvalidTime, "time without a zone");

// A month outside 1 to 12 was to be written.
QVX_DECLARE_EXCEPTION(InvalidMonth, DebuggableException, "month outside 1 to 12");
// A point in time falls before the year 0, which a date cannot hold.
QVX_DECLARE_EXCEPTION(InvalidDateTimeNegativeYear, DebuggableException,
                      "point in time before the year 0");
// A point in time or a date lies beyond what a DateTime or a Date can hold.
QVX_DECLARE_EXCEPTION(DateTimeOutOfRange, DebuggableException, "point in time out of range");
