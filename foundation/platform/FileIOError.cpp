#include "foundation/platform/FileIOError.h"

#include "foundation/platform/SystemErrorText.h"
#include "foundation/text/LocaleConversion.h"
#include "text/format/FormatArguments.h"
#include "text/format/FormatWith.h"

namespace {

// s = format with its variables bound to values, in order of appearance.
AutoUString<UTF8> Fill(ByteRange format, const std::vector<ByteRange>& values) {
  return FormatWith(format, BindArguments(format, values));
}

}  // namespace

const char* FileIOError::what() const noexcept {
  if (!message_.empty()) return message_.c_str();
  try {
    AutoUString<UTF8> s = Fill("File error \"{e}\"", {Description()});
    if (!path_.empty()) s = Fill("{s} on \"{p}\"", {s, path_});
    if (error_ != 0) s = Fill("{s} : \"{e}\"", {s, SystemErrorText(error_)});
    message_ = UTF8ToLocale(s.begin(), s.end());
    return message_.c_str();
  } catch (...) {
    // Reporting the failure must not fail; the class's words still name it.
    return Description();
  }
}
