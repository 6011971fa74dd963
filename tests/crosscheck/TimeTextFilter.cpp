// Reads one mail-header date-time per line on stdin and writes, per line, the instant it names
// in whole seconds since 1970-01-01 UTC ("ok <seconds>"), or "rejected <exception>" when the
// parser refuses it. The cross-check compares these answers with an independent parser.
#include <cstdint>
#include <iostream>
#include <string>

#include "foundation/platform/DebuggableException.h"
#include "text/time/DateTime.h"
#include "text/time/TimeParser.h"

int main() {
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    try {
      const DateTime instant =
          ToDateTime(ParseZonedDateTime(line.data(), line.data() + line.size()));
      // Whole seconds: the text form has no fraction, so the division is exact.
      std::cout << "ok " << instant / kMicrosecondsPerSecond << '\n';
    } catch (const DebuggableException& e) {
      std::cout << "rejected " << e.what() << '\n';
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}
