#include "foundation/platform/FileLoop.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/LocaleConversion.h"

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

int SelectEntry(const dirent* entry) {
  const char* name = entry->d_name;
  return !(name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')));
}

// The name as UTF-8 text; false for a name the locale cannot read (any byte above 127 in the C
// locale), which is then handled as bytes.
bool NameAsText(const char* systemName, AutoUString<UTF8>& text) {
  try {
    text = LocaleToUTF8(systemName);
    return true;
  } catch (const UnixPlatform::MultiByteToWideConvertError&) {
    return false;
  }
}

}  // namespace

namespace UnixPlatform {

FileLoop::FileLoop(const FileLocation& directory) : directory_(directory) {
  const int found = ::scandir(directory.SystemPath().c_str(), &entries_, SelectEntry, alphasort);
  if (found < 0) {
    entries_ = nullptr;
    ThrowFileError(directory.DisplayText(), static_cast<std::uint32_t>(errno));
  }
  count_ = static_cast<std::size_t>(found);
}

FileLoop::~FileLoop() {
  for (std::size_t i = 0; i < count_; ++i) std::free(entries_[i]);
  std::free(entries_);
}

FileLocation FileLoop::Current() const {
  if (index_ >= count_) throw InvalidIteratorPosition();
  const char* name = entries_[index_]->d_name;
  AutoUString<UTF8> text;
  if (!directory_.IsBinary() && NameAsText(name, text)) return Child(directory_, text);
  const std::string directory = directory_.SystemPath();
  BinaryString bytes(directory.data(), directory.data() + directory.size());
  if (bytes.end()[-1] != '/') bytes.Append('/');
  bytes.Append(name, name + std::strlen(name));
  return FileLocation::FromBytes(bytes);
}

}  // namespace UnixPlatform
