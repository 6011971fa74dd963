// The units the program counts time in: lengths and points in time are microseconds (the
// events' timeouts, the time values of the text layer), and the calendar counts in days.
#pragma once

#include <cstdint>

constexpr std::int64_t kMicrosecondsPerSecond = 1000000;
constexpr std::int64_t kMicrosecondsPerMinute = 60 * kMicrosecondsPerSecond;
constexpr std::int64_t kMicrosecondsPerHour = 60 * kMicrosecondsPerMinute;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kMicrosecondsPerDay = kSecondsPerDay * kMicrosecondsPerSecond;
