// A plain model of an override file, for the format targets to judge the real tables by: the
// value each key gives, by reading the file line by line.
#pragma once

#include <map>
#include <string>

// Key to the value a lookup must give: of the lines with that key, the value that sorts first
// (unsigned bytes, shorter first), as the table's sorted entries answer.
inline std::map<std::string, std::string> ModelOverrides(const std::string& file) {
  std::map<std::string, std::string> overrides;
  std::size_t start = 0;
  while (start <= file.size()) {
    std::size_t end = file.find_first_of("\r\n", start);
    if (end == std::string::npos) end = file.size();
    const std::string line = file.substr(start, end - start);
    const std::size_t firstTab = line.find('\t');
    if (firstTab != std::string::npos && firstTab != 0) {
      const std::string key = line.substr(0, firstTab);
      const std::string value = line.substr(line.rfind('\t') + 1);
      // std::string compares its chars as unsigned bytes.
      const auto [found, added] = overrides.emplace(key, value);
      if (!added && value < found->second) found->second = value;
    }
    start = end + 1;
  }
  return overrides;
}
