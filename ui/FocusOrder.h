// Where the keyboard goes next in a dialog: the control Tab or Shift+Tab reaches among those a
// user can reach, and the line Up or Down reaches in a list. KeyboardFocus asks these; they are
// kept apart from the toolkit so that they can be checked as tables.
#pragma once

#include <vector>

enum class FocusStep { kStay, kNext, kPrevious };

// The control that has the focus after the step from current, in reading order and around the
// end; reachable says which controls can take it. kStay keeps current while it is reachable and
// otherwise moves on as kNext does. -1 when no control is reachable.
[[nodiscard]] int NextFocus(const std::vector<bool>& reachable, int current, FocusStep step);

// The line a list of count lines selects after step lines (-1 up, +1 down) from current (-1:
// none). The ends hold; from no selection, Down reaches the first line and Up the last. -1 for
// an empty list.
[[nodiscard]] int NextListLine(int count, int current, int step);
