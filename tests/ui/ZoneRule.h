// Sets the TZ rule for the life of a test scope and puts the previous one back, so that local
// times can be checked at known offsets whatever zone the machine is in.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ZoneRule {
 public:
  explicit ZoneRule(const char* rule) {
    if (const char* saved = std::getenv("TZ")) saved_ = saved;
    setenv("TZ", rule, 1);
    tzset();
  }
  ~ZoneRule() {
    saved_ ? setenv("TZ", saved_->c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  ZoneRule(const ZoneRule&) = delete;
  ZoneRule& operator=(const ZoneRule&) = delete;

 private:
  std::optional<std::string> saved_;
};
