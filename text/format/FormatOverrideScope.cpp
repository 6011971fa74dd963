#include "text/format/FormatOverrideScope.h"

#include "text/format/FormatOverrideContext.h"

FormatOverrideScope::FormatOverrideScope(const OverrideTable& table, FormatOverrideContext& context)
    : table_(&table) {
  context.AddScope(*this);
}

FormatOverrideScope::~FormatOverrideScope() {
  if (context_ != nullptr) context_->RemoveScope(*this);
}
