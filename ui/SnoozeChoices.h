// The snooze list of the action request dialog: how far ahead the user can postpone the dialog,
// and which choice is offered first, the one nearest the reminder interval in use.
#pragma once

#include "text/time/TimeInterval.h"

#include <cstdint>
#include <vector>

struct SnoozeChoice {
  // The English wording, looked up for an override before it is shown.
  const char* text;
  // Ahead of now; negative: before the earliest deadline.
  std::int32_t minutes;
};

// The "before deadline" choices come first, and only when some request has a deadline.
[[nodiscard]] std::vector<SnoozeChoice> SnoozeChoices(bool anyDeadline);

// The position of the choice nearest reminderInterval, walking the choices in order and stopping
// once the distance stops shrinking; of two equally near, the earlier. 0 with no choices.
[[nodiscard]] int PreselectedSnoozeChoice(const std::vector<SnoozeChoice>& choices,
                                          TimeInterval reminderInterval);
