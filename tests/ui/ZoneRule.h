// Sets the TZ rule for the life of a test scope and puts the previous one back, so that local
// times can be checked at known offsets whatever zone the machine is in.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

class ZoneRule {
 public:
  explicit ZoneRule(const char* rule) {
    const char* saved = std::getenv("TZ");
    hadRule_ = saved != nullptr;
    if (hadRule_) saved_ = saved;
    setenv("TZ", rule, 1);
    tzset();
  }
  ~ZoneRule() {
    hadRule_ ? setenv("TZ", saved_.c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  ZoneRule(const ZoneRule&) = delete;
  ZoneRule& operator=(const ZoneRule&) = delete;

 private:
  bool hadRule_ = false;
  std::string saved_;
};
