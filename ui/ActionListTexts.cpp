#include "ui/ActionListTexts.h"

#include "ui/WidgetTable.h"

#include <langinfo.h>
#include <cstring>
#include <utility>

namespace {

// "Tue, 05 Mar 2024 07:08:09".
constexpr std::size_t kListDeadlineBytes = 25;

bool SameRecordTexts(const UString8& title, const std::optional<DateTime>& deadline,
                     const ActionRequest& request) {
  return deadline == request.deadline && title.size() == request.title.size() &&
         std::memcmp(title.begin(), request.title.begin(), title.size()) == 0;
}

}  // namespace

ActionListTexts::ActionListTexts() = default;
ActionListTexts::~ActionListTexts() = default;

void ActionListTexts::Make(const PendingRequestList& pending, std::vector<std::string>& texts,
                           std::vector<std::uint64_t>& arrivals) {
  auto deadlines = std::make_unique<ListDeadlineFormat>();
  const char* encoding = nl_langinfo(CODESET);
  if (deadlines_ == nullptr || !deadlines_->SameAs(*deadlines) || encoding_ != encoding) {
    items_.clear();
    encoding_ = encoding;
  }
  deadlines_ = std::move(deadlines);
  std::vector<Item> made;
  made.reserve(pending.size());
  try {
    auto kept = items_.begin();
    for (const ActionRequest& request : pending) {
      while (kept != items_.end() && kept->arrival < request.arrival) ++kept;
      if (kept != items_.end() && kept->arrival == request.arrival &&
          SameRecordTexts(kept->title, kept->deadline, request)) {
        made.push_back(std::move(*kept++));
      } else {
        made.push_back(
            {request.arrival, request.title, request.deadline, MakeText(request, *deadlines_)});
      }
      // A record whose title shows as nothing is remembered, but has no item.
      if (made.back().text.empty()) continue;
      texts.push_back(made.back().text);
      arrivals.push_back(request.arrival);
    }
  } catch (...) {
    // Some kept items have been moved from.
    items_.clear();
    throw;
  }
  items_ = std::move(made);
}

std::string ActionListTexts::MakeText(const ActionRequest& request,
                                      const ListDeadlineFormat& deadlines) {
  // Each item is made in one string, sized for the common case of a seven-bit title.
  std::string text;
  text.reserve(request.title.size() + std::strlen(kItemSeparator) + kListDeadlineBytes);
  AppendLocaleLabel(text, request.title);
  if (text.empty()) return text;
  if (request.deadline) {
    text += kItemSeparator;
    AppendShownText(text, deadlines.Format(*request.deadline));
  }
  return text;
}
