// The root of every exception class of the program's own. A class that adds no data is its
// own message: `what` and `text` report its run-time type name.
#pragma once

#include "foundation/data/ByteRange.h"

#include <exception>

namespace UnixPlatform {
// Empty base kept so that debuggers can break on every exception of ours through one type.
struct ExceptionDebuggingInfo {};
}  // namespace UnixPlatform

class DebuggableException : public std::exception, public UnixPlatform::ExceptionDebuggingInfo {
 public:
  ~DebuggableException() override = default;
  // The mangled type name of the most-derived class, as the type-information record holds it.
  [[nodiscard]] const char* what() const noexcept override;
  // The same information as a UTF-8 range (begin, end).
  [[nodiscard]] virtual ByteRange text() const;

 protected:
  [[nodiscard]] const char* TypeName() const noexcept;
};

// Declares a data-less exception class: its text is its own type name.
#define QVX_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {              \
   public:                                \
    using Base::Base;                     \
  }
