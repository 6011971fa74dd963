#include "ui/SnoozeChoices.h"

#include <cstdint>

namespace {

// |a - b| exactly: the client's interval can be anything a duration holds, and the difference
// of any two 64-bit counts fits 64 unsigned bits.
std::uint64_t Distance(TimeInterval a, TimeInterval b) {
  const auto x = static_cast<std::uint64_t>(a.InMicroseconds());
  const auto y = static_cast<std::uint64_t>(b.InMicroseconds());
  return a >= b ? x - y : y - x;
}

constexpr SnoozeChoice kBeforeDeadline[] = {
    {"15 minutes before deadline", -15},
    {"5 minutes before deadline", -5},
};

constexpr SnoozeChoice kAhead[] = {
    {"in 1 minute", 1},    {"in 5 minutes", 5},   {"in 10 minutes", 10}, {"in 15 minutes", 15},
    {"in 30 minutes", 30}, {"in 45 minutes", 45}, {"in 1 hour", 60},     {"in 2 hours", 120},
    {"in 4 hours", 240},   {"in 6 hours", 360},   {"in 8 hours", 480},   {"in 16 hours", 960},
    {"in 1 day", 1440},    {"in 2 days", 2880},   {"in 3 days", 4320},   {"in 4 days", 5760},
    {"in 5 days", 7200},
};

}  // namespace

std::vector<SnoozeChoice> SnoozeChoices(bool anyDeadline) {
  std::vector<SnoozeChoice> choices;
  if (anyDeadline) choices.assign(std::begin(kBeforeDeadline), std::end(kBeforeDeadline));
  choices.insert(choices.end(), std::begin(kAhead), std::end(kAhead));
  return choices;
}

int PreselectedSnoozeChoice(const std::vector<SnoozeChoice>& choices,
                            TimeInterval reminderInterval) {
  int chosen = 0;
  std::uint64_t nearest = 0;
  for (std::size_t index = 0; index < choices.size(); ++index) {
    const std::uint64_t distance =
        Distance(TimeInterval::Minutes(choices[index].minutes), reminderInterval);
    // The choices grow in order, so once they stop getting nearer they only get farther.
    if (index > 0 && distance >= nearest) break;
    nearest = distance;
    chosen = static_cast<int>(index);
  }
  return chosen;
}
