// Applies the client's InitialUISettings to the session: the process locale first (it decides
// which translation files apply), then the settings that have an effect in this program.
#pragma once

#include "core/UISettings.h"

#include <optional>

struct SessionState;

// Sets the character-type locale from the environment when useLocale is true and records its
// name without the codeset. C and POSIX, and a locale the system refuses, leave no locale in use.
void ApplyUseLocale(SessionState& state, std::optional<bool> useLocale);

// Copies remindInterval, nextReminderTime (only when RemindTime is given), allowSnooze,
// persistRunningMessage and topmostRunningMessage into the session.
void ApplyInitialUISettings(SessionState& state, const InitialUISettings& settings);
