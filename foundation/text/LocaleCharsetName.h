// The name of the process's character set, computed once and then shared by every thread:
// what ICU's default converter is called, in its normalised spelling.
#pragma once

#include <cstddef>

// A character-set name in a fixed buffer, so that the process-wide name needs no heap.
class FixedCharsetName {
 public:
  static constexpr std::size_t kCapacity = 48;

  // Throws ConstDataCapacityExceeded for a name longer than kCapacity bytes.
  void Assign(const char* name);
  [[nodiscard]] const char* c_str() const noexcept { return text_; }

 private:
  char text_[kCapacity + 1] = {};
};

// The normalised name of ICU's default converter.
[[nodiscard]] const char* LocaleCharsetName();

// As LocaleCharsetName, but when the name is not yet known, first sets every locale category to
// "en_US.UTF-8"; if the system has that locale, the name is "utf-8".
[[nodiscard]] const char* LocaleCharsetNameInUTF8Locale();
