// The errors of the named-character-set converters: ICU's error code, the ICU function that
// reported it and, for conversions of given input, the character set and the offending bytes.
#pragma once

#include "foundation/platform/DebuggableException.h"

#include <cstdint>
#include <string>
#include <utility>

class ICUResult : public DebuggableException {
 public:
  // functionName may be empty when the failure is the program's own (a bad argument).
  ICUResult(std::int32_t errorCode, std::string functionName, std::string detail = std::string());

  // UErrorCode=<code> [<ICU's name for it>] in <function>; the type name if building fails.
  [[nodiscard]] const char* what() const noexcept override;
  [[nodiscard]] ByteRange text() const override;

  [[nodiscard]] virtual std::int32_t ErrorCode() const noexcept;
  [[nodiscard]] virtual const std::string& FunctionName() const noexcept;
  // What the program adds when ICU's code alone does not say what was wrong.
  [[nodiscard]] virtual const std::string& Detail() const noexcept;

 protected:
  // Composes the text once, on first use, so that a subclass can extend it.
  [[nodiscard]] virtual std::string BuildText() const;

 private:
  const std::string& Text() const;

  std::int32_t errorCode_;
  std::string functionName_;
  std::string detail_;
  mutable std::string text_;
};

class CharacterSetResult : public ICUResult {
 public:
  CharacterSetResult(std::int32_t errorCode, std::string functionName, std::string charsetName,
                     std::string offendingBytes);

  [[nodiscard]] const std::string& CharsetName() const noexcept { return charsetName_; }
  [[nodiscard]] const std::string& OffendingBytes() const noexcept { return offendingBytes_; }

 protected:
  // The base text followed by the offending bytes, each as \xNN: ... ["\x81\xfe"].
  [[nodiscard]] std::string BuildText() const override;

 private:
  std::string charsetName_;
  std::string offendingBytes_;
};
