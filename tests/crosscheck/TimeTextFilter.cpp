// Answers each mail-header date-time line on stdin with "ok <seconds since 1970 UTC>" or
// "rejected <exception>".
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
      std::cout << "ok " << instant.UnixSeconds() << '\n';
    } catch (const DebuggableException& e) {
      std::cout << "rejected " << e.what() << '\n';
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}
