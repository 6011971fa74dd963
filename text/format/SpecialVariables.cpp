#include "text/format/SpecialVariables.h"

#include <algorithm>

const SpecialVariable SpecialVariables[kSpecialVariableCount] = {
    {"_cbrace", "}"}, {"_cr", "\r"},    {"_crlf", "\r\n"},
    {"_lf", "\n"},    {"_obrace", "{"}, {"_tab", "\t"},
};

const SpecialVariable* FindSpecialVariable(ByteRange name) noexcept {
  const SpecialVariable* tableEnd = SpecialVariables + kSpecialVariableCount;
  const SpecialVariable* found = std::lower_bound(
      SpecialVariables, tableEnd, name, [](const SpecialVariable& entry, ByteRange wanted) {
        return ByteRange::Compare(entry.name, wanted) < 0;
      });
  return found != tableEnd && ByteRange(found->name) == name ? found : nullptr;
}
