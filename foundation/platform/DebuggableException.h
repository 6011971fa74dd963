// The root of every exception class of the program's own. what() names the failure in words
// and never allocates, so reporting a failure cannot itself fail; a class that adds no data
// gives its words where it is declared, with QVX_DECLARE_EXCEPTION.
#pragma once

#include <exception>

namespace UnixPlatform {
// Empty base kept so that debuggers can break on every exception of ours through one type.
struct ExceptionDebuggingInfo {};
}  // namespace UnixPlatform

class DebuggableException : public std::exception, public UnixPlatform::ExceptionDebuggingInfo {
 public:
  ~DebuggableException() override = default;
  // The words of the most-derived class, unless the class composes a text of its own.
  [[nodiscard]] const char* what() const noexcept override { return Description(); }

 protected:
  // A text with static storage naming the failure, e.g. "file not found".
  [[nodiscard]] virtual const char* Description() const noexcept = 0;
};

// Declares an exception class that adds no data; Words, a string literal, name its failure.
#define QVX_DECLARE_EXCEPTION(Name, Base, Words)                                      \
  class Name : public Base {                                                          \
   public:                                                                            \
    using Base::Base;                                                                 \
                                                                                      \
   protected:                                                                         \
    [[nodiscard]] const char* Description() const noexcept override { return Words; } \
  }
