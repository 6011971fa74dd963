// The value that names a file or folder: the path as UTF-8 text or, for names that are not valid
// text, as raw bytes. Every file operation, the file errors and the file readers and writers
// take one; the path arithmetic here never touches the file system.
#pragma once

#include "foundation/data/BinaryString.h"
#include "foundation/text/AutoUString.h"

#include <cstdint>
#include <string>

class FileLocation {
 public:
  FileLocation() = default;
  // Drops one trailing "/" from a text longer than one character, so "/var/tmp/" and
  // "/var/tmp" name the same folder while "/" stays the root.
  explicit FileLocation(const AutoUString<UTF8>& text);
  explicit FileLocation(const char* text) : FileLocation(AutoUString<UTF8>(text)) {}
  [[nodiscard]] static FileLocation FromBytes(const BinaryString& bytes);

  [[nodiscard]] const AutoUString<UTF8>& Text() const noexcept { return text_; }
  [[nodiscard]] const BinaryString& Bytes() const noexcept { return bytes_; }
  [[nodiscard]] bool IsBinary() const noexcept { return !bytes_.empty(); }
  [[nodiscard]] bool IsEmpty() const noexcept { return text_.empty() && bytes_.empty(); }
  [[nodiscard]] bool IsRoot() const noexcept;

  // The path handed to the system: the bytes as they are, else the text in the locale's encoding.
  [[nodiscard]] std::string SystemPath() const;
  // The text itself, or for bytes their hex digits, followed by " (UTF8: text)" when the bytes
  // also read as UTF-8. Every file error quotes this.
  [[nodiscard]] AutoUString<UTF8> DisplayText() const;

 private:
  // The bytes when present, else the text: what the arithmetic and the comparison work on.
  [[nodiscard]] const char* EffectiveBegin() const noexcept;
  [[nodiscard]] const char* EffectiveEnd() const noexcept;
  friend FileLocation Child(const FileLocation&, const AutoUString<UTF8>&);
  friend FileLocation Parent(const FileLocation&);
  friend int Compare(const FileLocation&, const FileLocation&) noexcept;

  AutoUString<UTF8> text_;
  BinaryString bytes_;
};

// The name inside the directory, without the name's leading and trailing "/"; an empty directory
// throws EmptyFileLocationError.
[[nodiscard]] FileLocation Child(const FileLocation& directory, const AutoUString<UTF8>& name);
// The part before the last "/", or the root when that "/" is the first character. The root
// throws RootHasNoParent, a location without "/" InvalidFileLocation.
[[nodiscard]] FileLocation Parent(const FileLocation& location);
// Byte order without any normalisation; a shorter path first on a common beginning.
[[nodiscard]] int Compare(const FileLocation& a, const FileLocation& b) noexcept;
inline bool operator==(const FileLocation& a, const FileLocation& b) noexcept {
  return Compare(a, b) == 0;
}
inline bool operator!=(const FileLocation& a, const FileLocation& b) noexcept {
  return Compare(a, b) != 0;
}
