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

FileIOError::FileIOError(std::uint32_t error) : detail_(std::make_unique<Detail>()) {
  detail_->error = error;
}

FileIOError::FileIOError(const AutoUString<UTF8>& path, std::uint32_t error) : FileIOError(error) {
  detail_->path = path;
}

FileIOError::FileIOError(const AutoUString<UTF8>& path, const AutoUString<UTF8>& secondPath,
                         std::uint32_t error)
    : FileIOError(path, error) {
  detail_->secondPath = secondPath;
}

FileIOError::FileIOError(const FileIOError& other)
    : DebuggableException(other), detail_(std::make_unique<Detail>(*other.detail_)) {}

FileIOError& FileIOError::operator=(const FileIOError& other) {
  if (this != &other) {
    DebuggableException::operator=(other);
    detail_ = std::make_unique<Detail>(*other.detail_);
  }
  return *this;
}

FileIOError::~FileIOError() = default;

bool FileIOError::Compose() const noexcept {
  try {
    const AutoUString<UTF8> typeName = LocaleToUTF8(TypeName());
    AutoUString<UTF8> s = Fill("File error \"{e}\"", {typeName});
    if (!detail_->path.empty()) s = Fill("{s} on \"{p}\"", {s, detail_->path});
    if (!detail_->secondPath.empty()) s = Fill("{s} and \"{p}\"", {s, detail_->secondPath});
    if (detail_->error != 0) s = Fill("{s} : \"{e}\"", {s, SystemErrorText(detail_->error)});
    std::string narrow = UTF8ToLocale(s.begin(), s.end());
    detail_->message = std::move(s);
    detail_->narrowMessage = std::move(narrow);
    return true;
  } catch (...) {
    // A file error must still report something; its type is the fallback.
    return false;
  }
}

const char* FileIOError::what() const noexcept {
  if (detail_->message.empty() && !Compose()) return TypeName();
  return detail_->narrowMessage.c_str();
}

ByteRange FileIOError::text() const noexcept {
  if (detail_->message.empty() && !Compose()) return DebuggableException::text();
  return {detail_->message.begin(), detail_->message.end()};
}
