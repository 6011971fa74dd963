#include "text/format/OverrideTable.h"

#include "text/format/FormatErrors.h"

#include <algorithm>

namespace {

bool IsLineEnd(char byte) noexcept { return byte == '\r' || byte == '\n'; }

}  // namespace

bool NextOverrideLine(const char* position, const char* end, OverrideLine& line) {
  if (position == end) return false;
  const char* lineEnd = std::find_if(position, end, IsLineEnd);
  line = {{position, lineEnd}, false, {}, {}, lineEnd == end ? end : lineEnd + 1};
  const char* firstTab = std::find(position, lineEnd, '\t');
  if (firstTab != lineEnd && firstTab != position) {
    const char* lastTab = lineEnd - 1;
    while (*lastTab != '\t') --lastTab;  // stops at firstTab at the latest
    line.isEntry = true;
    line.key = {position, firstTab};
    line.value = {lastTab + 1, lineEnd};
  }
  return true;
}

OverrideTable::OverrideTable(ByteRange bytes, ByteRange name)
    : name_(name.begin, name.end), bytes_(bytes.begin, bytes.end) {
  const char* end = bytes_.data() + bytes_.size();
  OverrideLine line;
  for (const char* p = bytes_.data(); NextOverrideLine(p, end, line); p = line.next) {
    if (line.isEntry) entries_.push_back({line.key, line.value});
  }
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    const int byKey = ByteRange::Compare(a.key, b.key);
    return byKey != 0 ? byKey < 0 : ByteRange::Compare(a.value, b.value) < 0;
  });
}

const OverrideTable::Entry* OverrideTable::Find(ByteRange key) const noexcept {
  auto found = std::lower_bound(entries_.begin(), entries_.end(), key,
                                [](const Entry& entry, ByteRange wanted) {
                                  return ByteRange::Compare(entry.key, wanted) < 0;
                                });
  return found != entries_.end() && found->key == key ? &*found : nullptr;
}

bool OverrideTable::HasOverride(ByteRange key) const noexcept { return Find(key) != nullptr; }

ByteRange OverrideTable::GetOverride(ByteRange key) const {
  const Entry* entry = Find(key);
  if (entry == nullptr) throw FormatOverrideNotFound();
  return entry->value;
}
