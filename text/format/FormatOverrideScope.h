// One override table registered with a context for as long as the scope lives: constructing
// it adds the table to the context's lookups (ahead of every older one), destroying it takes
// the table out again. The table is borrowed and must outlive the scope.
#pragma once

class FormatOverrideContext;
class OverrideTable;

class FormatOverrideScope {
 public:
  FormatOverrideScope(const OverrideTable& table, FormatOverrideContext& context);
  FormatOverrideScope(const FormatOverrideScope&) = delete;
  FormatOverrideScope& operator=(const FormatOverrideScope&) = delete;
  virtual ~FormatOverrideScope();

  [[nodiscard]] const OverrideTable& Table() const noexcept { return *table_; }
  // The context the scope is registered with; null once that context is gone.
  [[nodiscard]] FormatOverrideContext* Context() const noexcept { return context_; }

 private:
  // The context keeps its scopes in a list threaded through the scopes themselves.
  friend class FormatOverrideContext;
  FormatOverrideScope* next_ = nullptr;
  FormatOverrideScope* previous_ = nullptr;
  const OverrideTable* table_;
  FormatOverrideContext* context_ = nullptr;
};
