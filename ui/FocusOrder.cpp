#include "ui/FocusOrder.h"

#include <algorithm>

int NextFocus(const std::vector<bool>& reachable, int current, FocusStep step) {
  const int count = static_cast<int>(reachable.size());
  if (count == 0) return -1;
  if (current < 0 || current >= count) current = step == FocusStep::kPrevious ? 0 : count - 1;
  const int direction = step == FocusStep::kPrevious ? -1 : 1;
  for (int distance = 1; distance <= count; ++distance) {
    const int index = ((current + direction * distance) % count + count) % count;
    if (reachable[index]) return index;
  }
  return -1;
}

int KeptFocus(const std::vector<bool>& reachable, const std::vector<bool>& answers, int current) {
  const int count = static_cast<int>(reachable.size());
  if (current >= 0 && current < count && reachable[current]) return current;
  for (int index = 0; index < count; ++index) {
    if (reachable[index] && !answers[index]) return index;
  }
  return -1;
}

int NextListLine(int count, int current, int step) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return step < 0 ? count - 1 : 0;
  return std::clamp(current + step, 0, count - 1);
}
