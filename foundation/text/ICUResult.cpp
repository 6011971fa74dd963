#include "foundation/text/ICUResult.h"

#include "foundation/data/Digits.h"

#include <unicode/utypes.h>

ICUResult::ICUResult(std::int32_t errorCode, std::string functionName, std::string detail)
    : errorCode_(errorCode), functionName_(std::move(functionName)), detail_(std::move(detail)) {}

std::int32_t ICUResult::ErrorCode() const noexcept { return errorCode_; }

const std::string& ICUResult::FunctionName() const noexcept { return functionName_; }

const std::string& ICUResult::Detail() const noexcept { return detail_; }

std::string ICUResult::BuildText() const {
  std::string text = "UErrorCode=" + std::to_string(errorCode_) + " [";
  text += u_errorName(static_cast<UErrorCode>(errorCode_));
  text += ']';
  if (!functionName_.empty()) text += " in " + functionName_;
  return text;
}

const std::string& ICUResult::Text() const {
  if (text_.empty()) text_ = BuildText();
  return text_;
}

const char* ICUResult::what() const noexcept {
  try {
    return Text().c_str();
  } catch (...) {
    // Out of memory while composing: the class still names the error.
    return TypeName();
  }
}

ByteRange ICUResult::text() const {
  const std::string& composed = Text();
  return {composed.data(), composed.data() + composed.size()};
}

CharacterSetResult::CharacterSetResult(std::int32_t errorCode, std::string functionName,
                                       std::string charsetName, std::string offendingBytes)
    : ICUResult(errorCode, std::move(functionName)),
      charsetName_(std::move(charsetName)),
      offendingBytes_(std::move(offendingBytes)) {}

std::string CharacterSetResult::BuildText() const {
  std::string text = ICUResult::BuildText() + " [\"";
  for (const char byte : offendingBytes_) {
    char escape[4] = {'\\', 'x'};
    WriteDigitsBefore(escape + 4, static_cast<unsigned char>(byte), 16, 2);
    text.append(escape, 4);
  }
  text += "\"]";
  return text;
}
