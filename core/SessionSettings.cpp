#include "core/SessionSettings.h"

#include "core/SessionState.h"

#include <clocale>
#include <cstring>

void ApplyUseLocale(std::optional<bool> useLocale) {
  sessionState.localeInUse = false;
  sessionState.localeName.Clear();
  if (!useLocale.value_or(false)) return;
  const char* selected = std::setlocale(LC_CTYPE, "");
  // A name the system cannot select counts as the C locale: initialisation still goes on.
  if (selected == nullptr) return;
  const char* codeset = std::strchr(selected, '.');
  const UString8 name(selected, codeset != nullptr ? codeset : selected + std::strlen(selected));
  if (name == UString8("C") || name == UString8("POSIX")) return;
  sessionState.localeInUse = true;
  sessionState.localeName = name;
}

void ApplyInitialUISettings(const InitialUISettings& settings) {
  sessionState.remindInterval = settings.remindInterval;
  if (settings.remindTime) sessionState.nextReminderTime = *settings.remindTime;
  sessionState.allowSnooze = settings.allowSnooze;
  sessionState.persistRunningMessage = settings.persistRunningMessage;
  sessionState.topmostRunningMessage = settings.topmostRunningMessage;
}
