// The action request dialog's list items, "title  --  deadline" in the locale's encoding, kept
// from one refresh to the next. The countdown refreshes the dialog every second, and between two
// refreshes a long list rarely changes: an item whose record shows the same title and deadline,
// made in the same circumstances (encoding, UTC offset, date wording), is copied, not made again.
#pragma once

#include "core/ActionRequest.h"
#include "ui/DeadlineText.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

inline constexpr char kItemSeparator[] = "  --  ";

class ActionListTexts {
 public:
  ActionListTexts();
  ~ActionListTexts();

  // Appends one item per record whose shown title is not empty, in list order, and each item's
  // record's arrival. Throws what converting a title throws, leaving both half filled.
  void Make(const PendingRequestList& pending, std::vector<std::string>& texts,
            std::vector<std::uint64_t>& arrivals);

 private:
  struct Item {
    std::uint64_t arrival;
    UString8 title;
    std::optional<DateTime> deadline;
    std::string text;
  };

  [[nodiscard]] static std::string MakeText(const ActionRequest& request,
                                            const ListDeadlineFormat& deadlines);

  // The circumstances the kept items were made in.
  std::string encoding_;
  std::unique_ptr<ListDeadlineFormat> deadlines_;
  // Ascending arrival, as along the pending list.
  std::vector<Item> items_;
};
