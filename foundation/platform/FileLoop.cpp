#include "foundation/platform/FileLoop.h"

#include "foundation/platform/FileErrorMapping.h"
#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/LocaleConversion.h"

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

int SelectEntry(const dirent* entry) {
  const char* name = entry->d_name;
  return !(name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')));
}

// One character of text ends after its UTF-8 continuation bytes.
const char* NextCharacter(const char* p, const char* end, bool asBytes) noexcept {
  ++p;
  if (!asBytes) {
    while (p != end && (static_cast<unsigned char>(*p) & 0xC0) == 0x80) ++p;
  }
  return p;
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

bool MatchesNamePattern(const char* name, const char* nameEnd, const char* pattern,
                        const char* patternEnd, bool asBytes) noexcept {
  // Greedy matching with one backtrack point: the last "*" and where its run ended.
  const char* star = nullptr;
  const char* starName = nullptr;
  while (name != nameEnd) {
    if (pattern != patternEnd && *pattern == '*') {
      star = ++pattern;
      starName = name;
    } else if (pattern != patternEnd && *pattern == '?') {
      ++pattern;
      name = NextCharacter(name, nameEnd, asBytes);
    } else if (pattern != patternEnd && *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star;
      name = starName = NextCharacter(starName, nameEnd, asBytes);
    } else {
      return false;
    }
  }
  while (pattern != patternEnd && *pattern == '*') ++pattern;
  return pattern == patternEnd;
}

namespace UnixPlatform {

FileLoop::FileLoop(const FileLocation& directory, const AutoUString<UTF8>& pattern,
                   std::uint32_t flags) {
  Open(directory, pattern, flags);
}

FileLoop::~FileLoop() { Close(); }

void FileLoop::Open(const FileLocation& directory, const AutoUString<UTF8>& pattern,
                    std::uint32_t flags) {
  Close();
  directory_ = directory;
  flags_ = flags;
  const std::string path = directory.SystemPath();
  const int found = ::scandir(path.c_str(), &scanned_, SelectEntry, alphasort);
  if (found < 0) {
    scanned_ = nullptr;
    ThrowFileError(directory.DisplayText(), static_cast<std::uint32_t>(errno));
  }
  scannedCount_ = found;
  open_ = true;
  try {
    kept_ = static_cast<dirent**>(std::malloc(sizeof(dirent*) * (found > 0 ? found : 1)));
    if (!kept_) throw std::bad_alloc();
    for (int i = 0; i < found; ++i) {
      const char* systemName = scanned_[i]->d_name;
      AutoUString<UTF8> name;
      bool keep = pattern.empty();
      if (!keep && !directory.IsBinary() && NameAsText(systemName, name)) {
        keep = MatchesNamePattern(name.begin(), name.end(), pattern.begin(), pattern.end());
      } else if (!keep) {
        keep = MatchesNamePattern(systemName, systemName + std::strlen(systemName), pattern.begin(),
                                  pattern.end(), true);
      }
      if (keep) kept_[count_++] = scanned_[i];
    }
  } catch (...) {
    Close();
    throw;
  }
}

void FileLoop::Close() noexcept {
  for (int i = 0; i < scannedCount_; ++i) std::free(scanned_[i]);
  std::free(scanned_);
  std::free(kept_);
  scanned_ = kept_ = nullptr;
  scannedCount_ = 0;
  count_ = index_ = 0;
  open_ = false;
}

const char* FileLoop::CurrentSystemName() const {
  if (!open_) throw FileLoopUninitialized();
  if (index_ >= count_) throw InvalidIteratorPosition();
  return kept_[index_]->d_name;
}

FileLocation FileLoop::Current() const {
  const char* name = CurrentSystemName();
  AutoUString<UTF8> text;
  if (!directory_.IsBinary() && NameAsText(name, text)) return Child(directory_, text);
  const std::string directory = directory_.SystemPath();
  BinaryString bytes(directory.data(), directory.data() + directory.size());
  if (bytes.end()[-1] != '/') bytes.Append('/');
  bytes.Append(name, name + std::strlen(name));
  FileLocation entry = FileLocation::FromBytes(bytes);
  return entry;
}

}  // namespace UnixPlatform
