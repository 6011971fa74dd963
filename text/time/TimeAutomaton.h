// The semantic side of the date-time parser: a stack of at most six values, pushed in text
// order, on which the grammar's actions work in reverse Polish fashion to build the date, the
// time of day and the zone. TimeRPNSemantics is the interface the parser drives; TimeAutomaton
// keeps the values and the result.
#pragma once

#include "text/time/DateTime.h"

#include <cstddef>
#include <cstdint>

class TimeRPNSemantics {
 public:
  virtual ~TimeRPNSemantics() = default;

  // Empty stack, no zone, the day of the week taken as matching.
  virtual void Reset() = 0;
  // StackFull when the stack already holds six values.
  virtual void Push(std::int32_t value) = 0;

  // A two-digit year: the top value + 1900.
  virtual void TwoDigitYear() = 0;
  // Pops year (top), month and day.
  virtual void MakeDate() = 0;
  // Pops the day name's value and notes whether it is the weekday of the date.
  virtual void CheckDayOfWeek() = 0;
  // Pops second (top), minute and hour.
  virtual void MakeTimeWithSeconds() = 0;
  // Pops minute (top) and hour; the second is 0.
  virtual void MakeTimeWithoutSeconds() = 0;
  // Pops an offset in seconds.
  virtual void ZoneFromSeconds() = 0;
  // Pop hhmm and set the offset to plus or minus hh hours and mm minutes.
  virtual void ZoneFromPlusDigits() = 0;
  virtual void ZoneFromMinusDigits() = 0;
  // As ZoneFromSeconds, and notes that the zone was given by name.
  virtual void NamedZoneFromSeconds() = 0;
};

class TimeAutomaton : public TimeRPNSemantics {
 public:
  static constexpr std::size_t kStackSize = 6;

  void Reset() override;
  void Push(std::int32_t value) override;
  void TwoDigitYear() override;
  void MakeDate() override;
  void CheckDayOfWeek() override;
  void MakeTimeWithSeconds() override;
  void MakeTimeWithoutSeconds() override;
  void ZoneFromSeconds() override;
  void ZoneFromPlusDigits() override;
  void ZoneFromMinusDigits() override;
  void NamedZoneFromSeconds() override;

  [[nodiscard]] std::size_t StackDepth() const noexcept { return depth_; }
  [[nodiscard]] const Date& ResultDate() const noexcept { return date_; }
  [[nodiscard]] const TimeOfDay& ResultTime() const noexcept { return time_; }
  [[nodiscard]] std::int64_t OffsetSeconds() const noexcept { return offsetSeconds_; }
  [[nodiscard]] std::int64_t OffsetMicroseconds() const noexcept { return offsetMicroseconds_; }
  [[nodiscard]] bool HasZone() const noexcept { return zonePresent_; }
  [[nodiscard]] bool IsZoneNamed() const noexcept { return zoneNamed_; }
  [[nodiscard]] bool DayOfWeekMatches() const noexcept { return dayOfWeekMatches_; }

 private:
  // ParsingFailure on an empty stack: only a rule whose values are missing can ask for one.
  std::int32_t Pop();
  void SetZone(std::int64_t seconds);
  void ZoneFromDigits(std::int64_t sign);

  std::int32_t stack_[kStackSize] = {};
  std::size_t depth_ = 0;
  Date date_{};
  TimeOfDay time_{};
  std::int64_t offsetSeconds_ = 0;
  std::int64_t offsetMicroseconds_ = 0;
  bool zonePresent_ = false;
  bool zoneNamed_ = false;
  bool dayOfWeekMatches_ = true;
};
