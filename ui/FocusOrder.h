// Where the keyboard goes next in a dialog: the control Tab or Shift+Tab reaches among those a
// user can reach, and the line Up or Down reaches in a list. KeyboardFocus asks these; they are
// kept apart from the toolkit so that they can be checked as tables.
#pragma once

#include <vector>

enum class FocusStep { kNext, kPrevious };

// The control that has the focus after the step from current, in reading order and around the
// end; reachable says which controls can take it. -1 when no control is reachable.
[[nodiscard]] int NextFocus(const std::vector<bool>& reachable, int current, FocusStep step);

// Where the focus is once the controls have changed: current while it is reachable, else the
// first reachable control that gives no answer (a list), else -1. Only the user moves it onto an
// answer: a Return meant for a Cancel that went insensitive must not land on Take Action.
[[nodiscard]] int KeptFocus(const std::vector<bool>& reachable, const std::vector<bool>& answers,
                            int current);

// The line a list of count lines selects after step lines (-1 up, +1 down) from current (-1:
// none). The ends hold; from no selection, Down reaches the first line and Up the last. -1 for
// an empty list.
[[nodiscard]] int NextListLine(int count, int current, int step);
