#include "core/SessionSettings.h"

#include "core/SessionState.h"

#include <clocale>
#include <cstring>

void ApplyUseLocale(SessionState& state, std::optional<bool> useLocale) {
  state.localeInUse = false;
  state.localeName.Clear();
  if (!useLocale.value_or(false)) return;
  const char* selected = std::setlocale(LC_CTYPE, "");
  // A name the system cannot select counts as the C locale: initialisation still goes on.
  if (selected == nullptr) return;
  const char* codeset = std::strchr(selected, '.');
  const UString8 name(selected, codeset != nullptr ? codeset : selected + std::strlen(selected));
  if (name == UString8("C") || name == UString8("POSIX")) {
    // A codeset variant such as C.UTF-8 would leave texts converted to UTF-8 for widgets that
    // draw Latin-1: without a locale in use the program is in the C locale through and through.
    (void)std::setlocale(LC_CTYPE, "C");
    return;
  }
  state.localeInUse = true;
  state.localeName = name;
}

void ApplyInitialUISettings(SessionState& state, const InitialUISettings& settings) {
  state.remindInterval = settings.remindInterval;
  if (settings.remindTime) state.nextReminderTime = *settings.remindTime;
  state.allowSnooze = settings.allowSnooze;
  state.persistRunningMessage = settings.persistRunningMessage;
  state.topmostRunningMessage = settings.topmostRunningMessage;
}
