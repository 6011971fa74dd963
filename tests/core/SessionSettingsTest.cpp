#include "core/SessionSettings.h"

#include "core/SessionState.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets LC_ALL for one case and puts the process locale and the environment back afterwards,
// so that no other test runs in a locale it did not choose.
class LocaleEnvironment {
 public:
  explicit LocaleEnvironment(const char* value) {
    if (const char* old = std::getenv("LC_ALL")) saved_ = old;
    setenv("LC_ALL", value, 1);
  }
  ~LocaleEnvironment() {
    if (saved_) {
      setenv("LC_ALL", saved_->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
    std::setlocale(LC_CTYPE, "C");
  }

 private:
  std::optional<std::string> saved_;
};

TEST(UseLocale, SelectsTheEnvironmentsLocaleUnlessItIsCOrPosix) {
  struct Row {
    std::optional<bool> useLocale;
    const char* environment;
    bool inUse;
    const char* name;
  };
  const Row rows[] = {
      {true, "en_US.UTF-8", true, "en_US"},
      {true, "en_US.utf8", true, "en_US"},
      {true, "C", false, ""},
      {true, "C.UTF-8", false, ""},
      {true, "POSIX", false, ""},
      // A locale the system does not have counts as C.
      {true, "xx_YY.NOSUCHCODESET", false, ""},
      {false, "en_US.UTF-8", false, ""},
      {std::nullopt, "en_US.UTF-8", false, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.environment) + (row.useLocale.value_or(false) ? " on" : " off"));
    const LocaleEnvironment environment(row.environment);
    sessionState = SessionState{};
    sessionState.localeName = UString8("stale");
    ApplyUseLocale(row.useLocale);
    EXPECT_EQ(sessionState.localeInUse, row.inUse);
    EXPECT_EQ(std::string(sessionState.localeName.begin(), sessionState.localeName.end()),
              row.name);
  }
}

TEST(UseLocale, LeavesTheProcessLocaleAloneWhenOff) {
  const LocaleEnvironment environment("en_US.UTF-8");
  ApplyUseLocale(false);
  EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
}

}  // namespace
