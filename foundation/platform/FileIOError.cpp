#include "foundation/platform/FileIOError.h"

#include "foundation/platform/SystemErrorText.h"
#include "foundation/text/LocaleConversion.h"

const char* FileIOError::what() const noexcept {
  if (!message_.empty()) return message_.c_str();
  try {
    UString8 text("File error \"");
    text.Append(UString8(Description()));
    text.Append('"');
    if (!path_.empty()) {
      text.Append(UString8(" on \""));
      text.Append(path_);
      text.Append('"');
    }
    if (error_ != 0) {
      text.Append(UString8(" : \""));
      text.Append(SystemErrorText(error_));
      text.Append('"');
    }
    message_ = UTF8ToLocale(text.begin(), text.end());
    return message_.c_str();
  } catch (...) {
    // Reporting the failure must not fail; the class's words still name it.
    return Description();
  }
}
