#include "text/format/OverrideTable.h"

#include "text/format/FormatErrors.h"

#include <algorithm>

namespace {

bool IsLineEnd(char byte) noexcept { return byte == '\r' || byte == '\n'; }

}  // namespace

OverrideTable::OverrideTable(ByteRange bytes, ByteRange name)
    : name_(name.begin, name.end), bytes_(bytes.begin, bytes.end) {
  const char* p = bytes_.data();
  const char* end = p + bytes_.size();
  while (p != end) {
    const char* lineEnd = std::find_if(p, end, IsLineEnd);
    const char* firstTab = std::find(p, lineEnd, '\t');
    if (firstTab != lineEnd && firstTab != p) {
      const char* lastTab = lineEnd - 1;
      while (*lastTab != '\t') --lastTab;  // stops at firstTab at the latest
      entries_.push_back({{p, firstTab}, {lastTab + 1, lineEnd}});
    }
    p = lineEnd == end ? end : lineEnd + 1;
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
