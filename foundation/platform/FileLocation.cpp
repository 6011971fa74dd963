#include "foundation/platform/FileLocation.h"

#include "foundation/data/Hex.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/text/LocaleConversion.h"

#include <algorithm>

namespace {

bool IsAscii(const char* begin, const char* end) noexcept {
  return std::all_of(begin, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The last "/" of the range, or end when there is none.
const char* LastSlash(const char* begin, const char* end) noexcept {
  for (const char* p = end; p != begin; --p) {
    if (p[-1] == '/') return p - 1;
  }
  return end;
}

}  // namespace

FileLocation::FileLocation(const AutoUString<UTF8>& text) : text_(text) {
  if (text_.size() > 1 && text_.end()[-1] == '/') text_.Resize(text_.size() - 1);
}

FileLocation FileLocation::FromBytes(const BinaryString& bytes) {
  FileLocation location;
  location.bytes_ = bytes;
  return location;
}

bool FileLocation::IsRoot() const noexcept {
  return EffectiveEnd() - EffectiveBegin() == 1 && *EffectiveBegin() == '/';
}

const char* FileLocation::EffectiveBegin() const noexcept {
  return bytes_.empty() ? text_.begin() : bytes_.begin();
}
const char* FileLocation::EffectiveEnd() const noexcept {
  return bytes_.empty() ? text_.end() : bytes_.end();
}

std::string FileLocation::SystemPath() const {
  if (!bytes_.empty()) return std::string(bytes_.begin(), bytes_.end());
  // Every locale encoding we run under keeps ASCII as it is, so most paths need no conversion.
  if (IsAscii(text_.begin(), text_.end())) return std::string(text_.begin(), text_.end());
  return UTF8ToLocale(text_.begin(), text_.end());
}

AutoUString<UTF8> FileLocation::DisplayText() const {
  if (bytes_.empty()) return text_;
  AutoUString<UTF8> display = ToHex(bytes_);
  if (IsValidUTF8(bytes_)) {
    static const char kOpen[] = " (UTF8: ";
    display.Append(kOpen, kOpen + sizeof kOpen - 1);
    display.Append(bytes_.begin(), bytes_.end());
    display.Append(')');
  }
  return display;
}

FileLocation Child(const FileLocation& directory, const AutoUString<UTF8>& name) {
  if (directory.IsEmpty()) throw EmptyFileLocationError(directory.DisplayText(), 0);
  const char* nameBegin = name.begin();
  const char* nameEnd = name.end();
  while (nameBegin != nameEnd && *nameBegin == '/') ++nameBegin;
  while (nameEnd != nameBegin && nameEnd[-1] == '/') --nameEnd;

  FileLocation child = directory;
  auto append = [&](auto& path) {
    if (path.end()[-1] != '/') path.Append('/');
    path.Append(nameBegin, nameEnd);
  };
  if (child.IsBinary()) {
    append(child.bytes_);
  } else {
    append(child.text_);
  }
  return child;
}

FileLocation Parent(const FileLocation& location) {
  if (location.IsRoot()) throw RootHasNoParent(location.DisplayText(), 0);
  const char* begin = location.EffectiveBegin();
  const char* end = location.EffectiveEnd();
  const char* slash = LastSlash(begin, end);
  if (slash == end) throw InvalidFileLocation(location.DisplayText(), 0);
  const char* cut = slash == begin ? begin + 1 : slash;

  FileLocation parent = location;
  if (parent.IsBinary()) {
    parent.bytes_ = BinaryString(begin, cut);
  } else {
    parent.text_ = AutoUString<UTF8>(begin, cut);
  }
  return parent;
}

int Compare(const FileLocation& a, const FileLocation& b) noexcept {
  return AutoUString<UTF8>::Compare(a.EffectiveBegin(), a.EffectiveEnd(), b.EffectiveBegin(),
                                    b.EffectiveEnd());
}
