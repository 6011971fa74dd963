#include "text/time/TimeAutomaton.h"

#include "text/time/ParsingErrors.h"

void TimeAutomaton::Reset() {
  depth_ = 0;
  date_ = Date{};
  time_ = TimeOfDay{};
  offsetSeconds_ = 0;
  offsetMicroseconds_ = 0;
  zonePresent_ = false;
  zoneNamed_ = false;
  dayOfWeekMatches_ = true;
}

void TimeAutomaton::Push(std::int32_t value) {
  if (depth_ == kStackSize) throw StackFull();
  stack_[depth_++] = value;
}

std::int32_t TimeAutomaton::Pop() {
  if (depth_ == 0) throw ParsingFailure();
  return stack_[--depth_];
}

void TimeAutomaton::TwoDigitYear() {
  if (depth_ == 0) throw ParsingFailure();
  // A 32-bit year would not fit; the grammar only gives two-digit ones.
  stack_[depth_ - 1] =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(stack_[depth_ - 1]) + 1900u);
}

void TimeAutomaton::MakeDate() {
  const std::int32_t year = Pop();
  const std::int32_t month = Pop();
  const std::int32_t day = Pop();
  date_ = Date{static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(month),
               static_cast<std::uint32_t>(year)};
}

void TimeAutomaton::CheckDayOfWeek() {
  const std::int32_t dayName = Pop();
  dayOfWeekMatches_ = dayName >= 0 && static_cast<std::uint32_t>(dayName) == DayOfWeek(date_);
}

void TimeAutomaton::MakeTimeWithSeconds() {
  const std::int32_t second = Pop();
  const std::int32_t minute = Pop();
  const std::int32_t hour = Pop();
  time_ = TimeOfDay{static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute),
                    static_cast<std::uint8_t>(second)};
}

void TimeAutomaton::MakeTimeWithoutSeconds() {
  const std::int32_t minute = Pop();
  const std::int32_t hour = Pop();
  time_ = TimeOfDay{static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute), 0};
}

void TimeAutomaton::SetZone(std::int64_t seconds) {
  offsetSeconds_ = seconds;
  offsetMicroseconds_ = seconds * kMicrosecondsPerSecond;
  zonePresent_ = true;
}

void TimeAutomaton::ZoneFromSeconds() { SetZone(Pop()); }

void TimeAutomaton::ZoneFromDigits(std::int64_t sign) {
  const std::int64_t hhmm = Pop();
  SetZone(sign * ((hhmm / 100) * 60 + hhmm % 100) * 60);
}

void TimeAutomaton::ZoneFromPlusDigits() { ZoneFromDigits(1); }

void TimeAutomaton::ZoneFromMinusDigits() { ZoneFromDigits(-1); }

void TimeAutomaton::NamedZoneFromSeconds() {
  ZoneFromSeconds();
  zoneNamed_ = true;
}
