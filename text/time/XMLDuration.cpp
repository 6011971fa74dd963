#include "text/time/XMLDuration.h"

#include "foundation/data/Digits.h"
#include "foundation/platform/ExceptionPL.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace {

constexpr char kMalformed[] = "Could not convert XMLDuration to TimeInterval";
constexpr char kTooPrecise[] =
    "Could not convert XMLDuration to TimeInterval: cannot handle more than microsecond precision.";
constexpr char kOverflow[] =
    "Could not convert XMLDuration to TimeInterval due to integer overflow.";

// The designators, as bits of the set of those allowed next.
enum Designator : unsigned {
  kMinus = 1u << 0,
  kPeriodStart = 1u << 1,  // "P"
  kDays = 1u << 2,
  kTimeStart = 1u << 3,  // "T"
  kHours = 1u << 4,
  kMinutes = 1u << 5,
  kFractionStart = 1u << 6,  // "."
  kSeconds = 1u << 7,
};

unsigned DesignatorOf(char character) noexcept {
  switch (character) {
    case '-':
      return kMinus;
    case 'P':
      return kPeriodStart;
    case 'D':
      return kDays;
    case 'T':
      return kTimeStart;
    case 'H':
      return kHours;
    case 'M':
      return kMinutes;
    case '.':
      return kFractionStart;
    case 'S':
      return kSeconds;
    default:
      return 0;
  }
}

// Reads the text one character at a time; `allowed` is the set of designators that may come
// next and `digitsAllowed` whether a number may be started or continued.
class DurationReader {
 public:
  void Read(char character) {
    if (character >= '0' && character <= '9')
      return Digit(static_cast<std::uint32_t>(character - '0'));
    const unsigned designator = DesignatorOf(character);
    if ((allowed_ & designator) == 0) throw ExceptionPL(kMalformed);
    switch (designator) {
      case kMinus:
        negative_ = true;
        allowed_ &= ~kMinus;
        return;
      case kPeriodStart:
        allowed_ = kDays | kTimeStart;
        StartSection();
        return;
      case kDays:
        days_ = TakeNumber();
        digitsAllowed_ = false;
        allowed_ &= ~kDays;
        return;
      case kTimeStart:
        if (hasNumber_) throw ExceptionPL(kMalformed);
        allowed_ = kHours | kMinutes | kFractionStart | kSeconds;
        StartSection();
        return;
      case kHours:
        hours_ = TakeNumber();
        allowed_ &= ~kHours;
        return;
      case kMinutes:
        minutes_ = TakeNumber();
        allowed_ &= ~(kHours | kMinutes);
        return;
      case kFractionStart:
        seconds_ = TakeNumber();
        inFraction_ = true;
        fractionDigits_ = 0;
        allowed_ &= ~(kHours | kMinutes | kFractionStart);
        return;
      case kSeconds:
        Seconds();
        return;
    }
  }

  [[nodiscard]] TimeInterval Finish() const {
    if (hasNumber_ || inFraction_ || !valueCompleted_) throw ExceptionPL(kMalformed);
    // The magnitude is summed unsigned: the most negative interval has one that no positive
    // interval reaches.
    std::uint64_t magnitude = static_cast<std::uint64_t>(microseconds_);
    const std::pair<std::uint32_t, std::uint64_t> parts[] = {{days_, kMicrosecondsPerDay},
                                                             {hours_, kMicrosecondsPerHour},
                                                             {minutes_, kMicrosecondsPerMinute},
                                                             {seconds_, kMicrosecondsPerSecond}};
    for (const auto& [count, unit] : parts) {
      std::uint64_t part = 0;
      if (__builtin_mul_overflow(std::uint64_t{count}, unit, &part) ||
          __builtin_add_overflow(magnitude, part, &magnitude)) {
        throw ExceptionPL(kOverflow);
      }
    }
    const std::uint64_t limit = std::uint64_t{std::numeric_limits<std::int64_t>::max()} + negative_;
    if (magnitude > limit) throw ExceptionPL(kOverflow);
    return TimeInterval::Microseconds(negative_ ? static_cast<std::int64_t>(0 - magnitude)
                                                : static_cast<std::int64_t>(magnitude));
  }

 private:
  void Digit(std::uint32_t digit) {
    if (!digitsAllowed_) throw ExceptionPL(kMalformed);
    const std::uint64_t number = std::uint64_t{number_} * 10 + digit;
    if (number > std::numeric_limits<std::uint32_t>::max()) throw ExceptionPL(kOverflow);
    number_ = static_cast<std::uint32_t>(number);
    hasNumber_ = true;
    if (inFraction_ && fractionDigits_ < kMaxCountedDigits) ++fractionDigits_;
  }

  void StartSection() noexcept {
    digitsAllowed_ = true;
    number_ = 0;
    hasNumber_ = false;
    valueCompleted_ = false;
  }

  std::uint32_t TakeNumber() {
    if (!hasNumber_) throw ExceptionPL(kMalformed);
    const std::uint32_t number = number_;
    number_ = 0;
    hasNumber_ = false;
    valueCompleted_ = true;
    return number;
  }

  void Seconds() {
    const bool fraction = inFraction_;
    const unsigned digits = fractionDigits_;
    const std::uint32_t number = TakeNumber();
    if (fraction) {
      if (digits > 6) throw ExceptionPL(kTooPrecise);
      std::int64_t scale = kMicrosecondsPerSecond;
      for (unsigned i = 0; i < digits; ++i) scale /= 10;
      microseconds_ = scale * number;
      inFraction_ = false;
    } else {
      seconds_ = number;
    }
    allowed_ = 0;
    digitsAllowed_ = false;
  }

  // Past this many fraction digits the number has overflowed anyway.
  static constexpr unsigned kMaxCountedDigits = 32;

  unsigned allowed_ = kMinus | kPeriodStart;
  bool digitsAllowed_ = false;
  bool negative_ = false;
  std::uint32_t number_ = 0;
  bool hasNumber_ = false;
  bool inFraction_ = false;
  unsigned fractionDigits_ = 0;
  // Whether a designator has completed a value since the last "P" or "T".
  bool valueCompleted_ = false;
  std::uint32_t days_ = 0;
  std::uint32_t hours_ = 0;
  std::uint32_t minutes_ = 0;
  std::uint32_t seconds_ = 0;
  std::int64_t microseconds_ = 0;
};

void AppendDecimal(UString8& text, std::uint64_t value, int minimumDigits = 1) {
  char digits[20];
  const char* first =
      WriteDigitsBefore(digits + sizeof digits, value, 10, static_cast<std::size_t>(minimumDigits));
  text.Append(first, digits + sizeof digits);
}

}  // namespace

TimeInterval ParseXMLDuration(const char* begin, const char* end) {
  DurationReader reader;
  for (const char* cursor = begin; cursor != end; ++cursor) reader.Read(*cursor);
  return reader.Finish();
}

TimeInterval ParseXMLDuration(const UString8& text) {
  return ParseXMLDuration(text.begin(), text.end());
}

UString8 FormatXMLDuration(TimeInterval interval) {
  const std::int64_t microseconds = interval.InMicroseconds();
  if (microseconds == 0) return UString8("PT0S");
  UString8 text;
  if (microseconds < 0) text.Append('-');
  text.Append('P');
  // The magnitude of the most negative value still fits the unsigned type.
  std::uint64_t rest = microseconds < 0 ? 0 - static_cast<std::uint64_t>(microseconds)
                                        : static_cast<std::uint64_t>(microseconds);
  // The units as unsigned values, for the unsigned arithmetic on the magnitude.
  constexpr std::uint64_t kDay = kMicrosecondsPerDay;
  constexpr std::uint64_t kHour = kMicrosecondsPerHour;
  constexpr std::uint64_t kMinute = kMicrosecondsPerMinute;
  constexpr std::uint64_t kSecond = kMicrosecondsPerSecond;
  if (rest >= kDay) {
    AppendDecimal(text, rest / kDay);
    text.Append('D');
    rest %= kDay;
    if (rest == 0) return text;
  }
  text.Append('T');
  if (rest >= kHour) {
    AppendDecimal(text, rest / kHour);
    text.Append('H');
    rest %= kHour;
  }
  if (rest >= kMinute) {
    AppendDecimal(text, rest / kMinute);
    text.Append('M');
    rest %= kMinute;
  }
  if (rest != 0) {
    AppendDecimal(text, rest / kSecond);
    if (rest % kSecond != 0) {
      text.Append('.');
      AppendDecimal(text, rest % kSecond, 6);
    }
    text.Append('S');
  }
  return text;
}
