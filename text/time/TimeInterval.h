// A signed length of time in microseconds: the Timeouts and remind intervals of the messages, the
// time left before a deadline. Its own type, so that a length is never taken for a point in time
// (DateTime.h) or for a bare count; the raw count is asked for only where a text is written.
#pragma once

#include "foundation/platform/TimeUnits.h"

#include <cstdint>
#include <iosfwd>
#include <limits>

class TimeInterval {
 public:
  // Zero.
  constexpr TimeInterval() noexcept = default;

  [[nodiscard]] static constexpr TimeInterval Microseconds(std::int64_t count) noexcept {
    return TimeInterval(count);
  }
  [[nodiscard]] static constexpr TimeInterval Seconds(std::int64_t count) noexcept {
    return TimeInterval(count * kMicrosecondsPerSecond);
  }
  [[nodiscard]] static constexpr TimeInterval Minutes(std::int64_t count) noexcept {
    return TimeInterval(count * kMicrosecondsPerMinute);
  }
  [[nodiscard]] static constexpr TimeInterval Hours(std::int64_t count) noexcept {
    return TimeInterval(count * kMicrosecondsPerHour);
  }
  [[nodiscard]] static constexpr TimeInterval Days(std::int64_t count) noexcept {
    return TimeInterval(count * kMicrosecondsPerDay);
  }
  // The bounds; std::numeric_limits knows nothing of this type and would answer zero.
  [[nodiscard]] static constexpr TimeInterval Max() noexcept {
    return TimeInterval(std::numeric_limits<std::int64_t>::max());
  }
  [[nodiscard]] static constexpr TimeInterval Min() noexcept {
    return TimeInterval(std::numeric_limits<std::int64_t>::min());
  }

  [[nodiscard]] constexpr std::int64_t InMicroseconds() const noexcept { return microseconds_; }

  constexpr TimeInterval& operator+=(TimeInterval other) noexcept {
    microseconds_ += other.microseconds_;
    return *this;
  }
  constexpr TimeInterval& operator-=(TimeInterval other) noexcept {
    microseconds_ -= other.microseconds_;
    return *this;
  }

  [[nodiscard]] friend constexpr TimeInterval operator+(TimeInterval a, TimeInterval b) noexcept {
    return a += b;
  }
  [[nodiscard]] friend constexpr TimeInterval operator-(TimeInterval a, TimeInterval b) noexcept {
    return a -= b;
  }
  [[nodiscard]] friend constexpr TimeInterval operator-(TimeInterval a) noexcept {
    return TimeInterval(-a.microseconds_);
  }
  [[nodiscard]] friend constexpr TimeInterval operator*(TimeInterval a, std::int64_t n) noexcept {
    return TimeInterval(a.microseconds_ * n);
  }
  [[nodiscard]] friend constexpr TimeInterval operator*(std::int64_t n, TimeInterval a) noexcept {
    return a * n;
  }
  // Toward zero, as the integer operators.
  [[nodiscard]] friend constexpr TimeInterval operator/(TimeInterval a, std::int64_t n) noexcept {
    return TimeInterval(a.microseconds_ / n);
  }
  // How many whole units fit, toward zero; the remainder carries the sign of a.
  [[nodiscard]] friend constexpr std::int64_t operator/(TimeInterval a,
                                                        TimeInterval unit) noexcept {
    return a.microseconds_ / unit.microseconds_;
  }
  [[nodiscard]] friend constexpr TimeInterval operator%(TimeInterval a,
                                                        TimeInterval unit) noexcept {
    return TimeInterval(a.microseconds_ % unit.microseconds_);
  }

  [[nodiscard]] friend constexpr bool operator==(TimeInterval a, TimeInterval b) noexcept {
    return a.microseconds_ == b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator!=(TimeInterval a, TimeInterval b) noexcept {
    return a.microseconds_ != b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator<(TimeInterval a, TimeInterval b) noexcept {
    return a.microseconds_ < b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator<=(TimeInterval a, TimeInterval b) noexcept {
    return a.microseconds_ <= b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator>(TimeInterval a, TimeInterval b) noexcept {
    return a.microseconds_ > b.microseconds_;
  }
  [[nodiscard]] friend constexpr bool operator>=(TimeInterval a, TimeInterval b) noexcept {
    return a.microseconds_ >= b.microseconds_;
  }

 private:
  constexpr explicit TimeInterval(std::int64_t microseconds) noexcept
      : microseconds_(microseconds) {}

  std::int64_t microseconds_ = 0;
};

// "90000000us": the raw count, for test failures and traces.
std::ostream& operator<<(std::ostream& stream, TimeInterval interval);
