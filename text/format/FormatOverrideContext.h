// Where built-in texts find their overrides: the registered scopes, newest first, each with
// one override table. The first scope whose table has a key decides, so a table loaded later
// wins over an earlier one. The process-wide current context serves every lookup of the
// program; it is used on the main thread only and has no lock.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

#include <memory>

class FormatOverrideScope;
class OverrideTable;

class FormatOverrideContext {
 public:
  // A cursor over the registered scopes, newest first. Removing a scope while walks are in
  // progress moves every walk standing on it to the next one, so a walk never sees a freed scope.
  class ScopeWalk {
   public:
    explicit ScopeWalk(const FormatOverrideContext& context) noexcept;
    ScopeWalk(const ScopeWalk&) = delete;
    ScopeWalk& operator=(const ScopeWalk&) = delete;
    ~ScopeWalk();
    // The next scope, or null after the oldest.
    [[nodiscard]] FormatOverrideScope* Next() noexcept;

   private:
    friend class FormatOverrideContext;
    const FormatOverrideContext& context_;
    FormatOverrideScope* position_;
    ScopeWalk* nextWalk_;
  };

  FormatOverrideContext() = default;
  FormatOverrideContext(const FormatOverrideContext&) = delete;
  FormatOverrideContext& operator=(const FormatOverrideContext&) = delete;
  // Scopes still registered are released: they outlive the context without touching it.
  ~FormatOverrideContext();

  [[nodiscard]] bool HasOverride(ByteRange key) const;
  // The value of the newest table that has key, or fallback when none has it.
  [[nodiscard]] AutoUString<UTF8> GetOverride(ByteRange key, ByteRange fallback) const;
  // The same lookup with the key itself as the fallback.
  [[nodiscard]] AutoUString<UTF8> GetOverride(ByteRange key) const;
  // Puts the scope ahead of every registered one, taking it from its old context if it had one.
  void AddScope(FormatOverrideScope& scope);
  // Unlinks the scope; a scope not registered here is left alone.
  void RemoveScope(FormatOverrideScope& scope);

 private:
  [[nodiscard]] const OverrideTable* FindTable(ByteRange key) const;

  FormatOverrideScope* first_ = nullptr;
  mutable ScopeWalk* walks_ = nullptr;
};

// The context installed with ReplaceContext, or while there is none, a static empty default.
[[nodiscard]] FormatOverrideContext& CurrentContext();
// Installs context (null goes back to the default) and destroys the one installed before.
void ReplaceContext(std::unique_ptr<FormatOverrideContext> context);
