#include "text/time/TimeInterval.h"

#include <ostream>

std::ostream& operator<<(std::ostream& stream, TimeInterval interval) {
  return stream << interval.InMicroseconds() << "us";
}
