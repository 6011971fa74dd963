#include "text/time/ShiftReduceTable.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

struct Item {
  std::uint32_t rule;
  std::uint32_t dot;

  friend bool operator<(const Item& a, const Item& b) noexcept {
    return a.rule != b.rule ? a.rule < b.rule : a.dot < b.dot;
  }
  friend bool operator==(const Item& a, const Item& b) noexcept {
    return a.rule == b.rule && a.dot == b.dot;
  }
};

using ItemSet = std::vector<Item>;
using SymbolSet = std::vector<bool>;

// Adds the members of `from` to `to`; true when `to` grew.
bool Unite(SymbolSet& to, const SymbolSet& from) {
  bool grew = false;
  for (std::size_t symbol = 0; symbol < from.size(); ++symbol) {
    if (from[symbol] && !to[symbol]) to[symbol] = grew = true;
  }
  return grew;
}

constexpr std::uint32_t kNoState = UINT32_MAX;

}  // namespace

// Works on the grammar augmented with the rule (start <- goal), whose completion under the end
// of input is acceptance. The augmented start symbol is numbered symbolCount + 1, after the end
// of input.
class ShiftReduceTable::Builder {
 public:
  explicit Builder(ShiftReduceTable& table, int goal)
      : table_(table),
        symbols_(static_cast<std::size_t>(table.symbolCount_) + 2),
        endOfInput_(table.symbolCount_),
        start_(table.symbolCount_ + 1),
        nonterminal_(symbols_, false) {
    Validate(goal);
    rules_ = table.rules_;
    rules_.push_back(GrammarRule{start_, {goal}});
    augmentedRule_ = static_cast<std::uint32_t>(rules_.size() - 1);
    for (const GrammarRule& rule : rules_) nonterminal_[static_cast<std::size_t>(rule.left)] = true;
  }

  void Build() {
    ComputeFirstSets();
    ComputeFollowSets();
    BuildStates();
    FillActions();
  }

 private:
  void Validate(int goal) const {
    const int count = table_.symbolCount_;
    bool goalHasRule = false;
    for (const GrammarRule& rule : table_.rules_) {
      if (rule.left < 0 || rule.left >= count) throw InvalidGrammar();
      for (const int symbol : rule.right) {
        if (symbol < 0 || symbol >= count) throw InvalidGrammar();
      }
      goalHasRule = goalHasRule || rule.left == goal;
    }
    if (!goalHasRule) throw InvalidGrammar();
  }

  [[nodiscard]] bool IsNonterminal(int symbol) const {
    return nonterminal_[static_cast<std::size_t>(symbol)];
  }

  void ComputeFirstSets() {
    nullable_.assign(symbols_, false);
    first_.assign(symbols_, SymbolSet(symbols_, false));
    for (int symbol = 0; symbol < static_cast<int>(symbols_); ++symbol) {
      if (!IsNonterminal(symbol))
        first_[static_cast<std::size_t>(symbol)][static_cast<std::size_t>(symbol)] = true;
    }
    for (bool grew = true; grew;) {
      grew = false;
      for (const GrammarRule& rule : rules_) {
        const auto left = static_cast<std::size_t>(rule.left);
        bool allNullable = true;
        for (const int symbol : rule.right) {
          grew = Unite(first_[left], first_[static_cast<std::size_t>(symbol)]) || grew;
          if (!nullable_[static_cast<std::size_t>(symbol)]) {
            allNullable = false;
            break;
          }
        }
        if (allNullable && !nullable_[left]) nullable_[left] = grew = true;
      }
    }
  }

  void ComputeFollowSets() {
    follow_.assign(symbols_, SymbolSet(symbols_, false));
    follow_[static_cast<std::size_t>(start_)][static_cast<std::size_t>(endOfInput_)] = true;
    for (bool grew = true; grew;) {
      grew = false;
      for (const GrammarRule& rule : rules_) {
        // What may follow the symbols from the end of the rule backwards.
        SymbolSet after = follow_[static_cast<std::size_t>(rule.left)];
        for (auto symbol = rule.right.rbegin(); symbol != rule.right.rend(); ++symbol) {
          const auto index = static_cast<std::size_t>(*symbol);
          if (IsNonterminal(*symbol)) grew = Unite(follow_[index], after) || grew;
          if (!nullable_[index]) after.assign(symbols_, false);
          Unite(after, first_[index]);
        }
      }
    }
  }

  [[nodiscard]] ItemSet Closure(ItemSet items) const {
    for (std::size_t next = 0; next < items.size(); ++next) {
      const GrammarRule& rule = rules_[items[next].rule];
      if (items[next].dot >= rule.right.size() || !IsNonterminal(rule.right[items[next].dot]))
        continue;
      const int wanted = rule.right[items[next].dot];
      for (std::uint32_t index = 0; index < rules_.size(); ++index) {
        const Item item{index, 0};
        if (rules_[index].left == wanted &&
            std::find(items.begin(), items.end(), item) == items.end()) {
          items.push_back(item);
        }
      }
    }
    std::sort(items.begin(), items.end());
    return items;
  }

  std::uint32_t StateOf(ItemSet kernel) {
    std::sort(kernel.begin(), kernel.end());
    const auto [found, added] =
        stateOfKernel_.emplace(kernel, static_cast<std::uint32_t>(states_.size()));
    if (added) {
      states_.push_back(Closure(std::move(kernel)));
      transitions_.emplace_back(symbols_, kNoState);
    }
    return found->second;
  }

  void BuildStates() {
    StateOf(ItemSet{Item{augmentedRule_, 0}});
    for (std::size_t state = 0; state < states_.size(); ++state) {
      for (int symbol = 0; symbol < table_.symbolCount_; ++symbol) {
        ItemSet kernel;
        for (const Item& item : states_[state]) {
          const GrammarRule& rule = rules_[item.rule];
          if (item.dot < rule.right.size() && rule.right[item.dot] == symbol) {
            kernel.push_back(Item{item.rule, item.dot + 1});
          }
        }
        // StateOf may grow the state list, so the successor is stored by index.
        if (!kernel.empty()) {
          const std::uint32_t successor = StateOf(std::move(kernel));
          transitions_[state][static_cast<std::size_t>(symbol)] = successor;
        }
      }
    }
  }

  void Set(std::size_t state, int lookahead, Action action) {
    Action& entry = table_.actions_[state * static_cast<std::size_t>(endOfInput_ + 1) +
                                    static_cast<std::size_t>(lookahead)];
    if (entry.kind != ActionKind::kError &&
        (entry.kind != action.kind || entry.target != action.target)) {
      throw GrammarConflict();
    }
    entry = action;
  }

  void FillActions() {
    const auto width = static_cast<std::size_t>(endOfInput_ + 1);
    table_.actions_.assign(states_.size() * width, Action{ActionKind::kError, 0});
    table_.gotos_.assign(states_.size() * static_cast<std::size_t>(table_.symbolCount_), kNoState);
    for (std::size_t state = 0; state < states_.size(); ++state) {
      for (int symbol = 0; symbol < table_.symbolCount_; ++symbol) {
        const std::uint32_t successor = transitions_[state][static_cast<std::size_t>(symbol)];
        table_.gotos_[state * static_cast<std::size_t>(table_.symbolCount_) +
                      static_cast<std::size_t>(symbol)] = successor;
        if (successor != kNoState && !IsNonterminal(symbol))
          Set(state, symbol, Action{ActionKind::kShift, successor});
      }
      for (const Item& item : states_[state]) {
        const GrammarRule& rule = rules_[item.rule];
        if (item.dot < rule.right.size()) continue;
        if (item.rule == augmentedRule_) {
          Set(state, endOfInput_, Action{ActionKind::kAccept, 0});
          continue;
        }
        const SymbolSet& lookaheads = follow_[static_cast<std::size_t>(rule.left)];
        for (int lookahead = 0; lookahead <= endOfInput_; ++lookahead) {
          if (lookaheads[static_cast<std::size_t>(lookahead)])
            Set(state, lookahead, Action{ActionKind::kReduce, item.rule});
        }
      }
    }
  }

  ShiftReduceTable& table_;
  std::size_t symbols_;
  int endOfInput_;
  int start_;
  std::vector<bool> nonterminal_;
  std::vector<GrammarRule> rules_;
  std::uint32_t augmentedRule_ = 0;
  std::vector<bool> nullable_;
  std::vector<SymbolSet> first_;
  std::vector<SymbolSet> follow_;
  std::vector<ItemSet> states_;
  std::map<ItemSet, std::uint32_t> stateOfKernel_;
  std::vector<std::vector<std::uint32_t>> transitions_;
};

ShiftReduceTable::ShiftReduceTable(int symbolCount, std::vector<GrammarRule> rules, int goal)
    : symbolCount_(symbolCount), rules_(std::move(rules)) {
  if (symbolCount_ <= 0) throw InvalidGrammar();
  Builder(*this, goal).Build();
  stateCount_ = gotos_.size() / static_cast<std::size_t>(symbolCount_);
}
