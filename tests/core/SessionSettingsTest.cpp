#include "core/SessionSettings.h"

#include "core/SessionState.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

TEST(UseLocale, SelectsTheEnvironmentsLocaleUnlessItIsCOrPosix) {
  struct Row {
    std::optional<bool> useLocale;
    const char* environment;
    const char* name;  // null: no locale in use
  };
  const Row rows[] = {
      // clang-format off
      {true, "en_US.UTF-8", "en_US"}, {true, "en_US.utf8", "en_US"}, {true, "C", nullptr},
      {true, "C.UTF-8", nullptr}, {true, "POSIX", nullptr},
      // A locale the system does not have counts as C.
      {true, "xx_YY.NOSUCHCODESET", nullptr}, {false, "en_US.UTF-8", nullptr},
      {std::nullopt, "en_US.UTF-8", nullptr},
      // clang-format on
  };
  const char* saved = std::getenv("LC_ALL");
  const std::optional<std::string> outer = saved ? std::optional<std::string>(saved) : std::nullopt;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.environment) + (row.useLocale.value_or(false) ? " on" : " off"));
    setenv("LC_ALL", row.environment, 1);
    SessionState state;
    state.localeName = UString8("stale");
    ApplyUseLocale(state, row.useLocale);
    EXPECT_EQ(state.localeInUse, row.name != nullptr);
    EXPECT_EQ(std::string(state.localeName.begin(), state.localeName.end()),
              row.name ? row.name : "");
    // Without a locale in use the process is in the C locale, a codeset variant included: texts
    // in UTF-8 would reach widgets that draw Latin-1.
    if (row.name == nullptr) {
      EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
    }
    std::setlocale(LC_CTYPE, "C");
  }
  outer ? setenv("LC_ALL", outer->c_str(), 1) : unsetenv("LC_ALL");
}

}  // namespace
