// The entries of one translation or branding file: lines of English text, a tab and the
// replacement. The table keeps its own copy of the file's bytes; keys and values point into it.
// Lines it cannot use are skipped, never reported.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <vector>

// One line of an override file as the table reads it.
struct OverrideLine {
  // The line without its line end.
  ByteRange text;
  // Set for a line the table uses: the text before its first tab, and after its last.
  bool isEntry = false;
  ByteRange key;
  ByteRange value;
  // Where the line after this one begins.
  const char* next = nullptr;
};

// Reads the line that begins at position in bytes ending at end; false when position == end.
// Every CR and every LF ends a line, so CR LF leaves an empty line between the two.
[[nodiscard]] bool NextOverrideLine(const char* position, const char* end, OverrideLine& line);

class OverrideTable {
 public:
  // The entries of the lines NextOverrideLine reads; a line without a tab or with an empty key
  // is skipped.
  OverrideTable(ByteRange bytes, ByteRange name);
  OverrideTable(const OverrideTable&) = delete;
  OverrideTable& operator=(const OverrideTable&) = delete;

  // For identification only; lookups never use it.
  [[nodiscard]] const AutoUString<UTF8>& Name() const noexcept { return name_; }
  [[nodiscard]] std::size_t EntryCount() const noexcept { return entries_.size(); }

  [[nodiscard]] bool HasOverride(ByteRange key) const noexcept;
  // The value of the first entry whose key is key, byte for byte; FormatOverrideNotFound if none.
  [[nodiscard]] ByteRange GetOverride(ByteRange key) const;

 private:
  struct Entry {
    ByteRange key;
    ByteRange value;
  };
  [[nodiscard]] const Entry* Find(ByteRange key) const noexcept;

  AutoUString<UTF8> name_;
  std::vector<char> bytes_;
  std::vector<Entry> entries_;  // sorted by key, then value
};
