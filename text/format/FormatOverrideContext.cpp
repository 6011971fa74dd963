#include "text/format/FormatOverrideContext.h"

#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

namespace {

// The context every lookup of a built-in text consults, like the process's locale: the texts are
// looked up from every layer, and the translation files put in force once apply to all of them.
std::unique_ptr<FormatOverrideContext>& InstalledContext() {
  static std::unique_ptr<FormatOverrideContext> installed;
  return installed;
}

}  // namespace

FormatOverrideContext::ScopeWalk::ScopeWalk(const FormatOverrideContext& context) noexcept
    : context_(context), position_(context.first_), nextWalk_(context.walks_) {
  context.walks_ = this;
}

FormatOverrideContext::ScopeWalk::~ScopeWalk() {
  for (ScopeWalk** link = &context_.walks_; *link != nullptr; link = &(*link)->nextWalk_) {
    if (*link == this) {
      *link = nextWalk_;
      return;
    }
  }
}

FormatOverrideScope* FormatOverrideContext::ScopeWalk::Next() noexcept {
  FormatOverrideScope* scope = position_;
  if (scope != nullptr) position_ = scope->next_;
  return scope;
}

FormatOverrideContext::~FormatOverrideContext() {
  for (FormatOverrideScope* scope = first_; scope != nullptr;) {
    FormatOverrideScope* next = scope->next_;
    scope->next_ = scope->previous_ = nullptr;
    scope->context_ = nullptr;
    scope = next;
  }
}

const OverrideTable* FormatOverrideContext::FindTable(ByteRange key) const {
  ScopeWalk walk(*this);
  while (FormatOverrideScope* scope = walk.Next()) {
    if (scope->Table().HasOverride(key)) return &scope->Table();
  }
  return nullptr;
}

bool FormatOverrideContext::HasOverride(ByteRange key) const { return FindTable(key) != nullptr; }

AutoUString<UTF8> FormatOverrideContext::GetOverride(ByteRange key, ByteRange fallback) const {
  const OverrideTable* table = FindTable(key);
  const ByteRange text = table != nullptr ? table->GetOverride(key) : fallback;
  return AutoUString<UTF8>(text.begin, text.end);
}

AutoUString<UTF8> FormatOverrideContext::GetOverride(ByteRange key) const {
  return GetOverride(key, key);
}

void FormatOverrideContext::AddScope(FormatOverrideScope& scope) {
  if (scope.context_ == this) return;
  if (scope.context_ != nullptr) scope.context_->RemoveScope(scope);
  scope.previous_ = nullptr;
  scope.next_ = first_;
  if (first_ != nullptr) first_->previous_ = &scope;
  first_ = &scope;
  scope.context_ = this;
}

void FormatOverrideContext::RemoveScope(FormatOverrideScope& scope) {
  if (scope.context_ != this) return;
  for (ScopeWalk* walk = walks_; walk != nullptr; walk = walk->nextWalk_) {
    if (walk->position_ == &scope) walk->position_ = scope.next_;
  }
  (scope.previous_ != nullptr ? scope.previous_->next_ : first_) = scope.next_;
  if (scope.next_ != nullptr) scope.next_->previous_ = scope.previous_;
  scope.next_ = scope.previous_ = nullptr;
  scope.context_ = nullptr;
}

FormatOverrideContext& CurrentContext() {
  if (FormatOverrideContext* installed = InstalledContext().get()) return *installed;
  static FormatOverrideContext defaultContext;
  return defaultContext;
}

void ReplaceContext(std::unique_ptr<FormatOverrideContext> context) {
  // The old context goes only after the new one is in place, so its destructor never sees
  // itself as current.
  std::unique_ptr<FormatOverrideContext> previous = std::move(InstalledContext());
  InstalledContext() = std::move(context);
}
