#include "ui/ActionButtonRow.h"

namespace {

// The list viewport stays this much narrower than the description above it.
constexpr int kListInset = 15;

}  // namespace

int RightAlignedDistance(int rowWidth, int buttonWidth, int border) noexcept {
  return rowWidth - buttonWidth + border;
}

ActionButtonRow PlaceActionButtons(int descriptionWidth, int border,
                                   const ActionButtonWidths& widths) noexcept {
  ActionButtonRow row;
  row.width = descriptionWidth;
  // Room for the four buttons and the gaps between and around them.
  const int needed = widths.takeAll + widths.cancel + widths.take + widths.details + 20 * border;
  if (needed > descriptionWidth) {
    row.width = needed;
    row.widened = true;
  }
  row.takeDistance = RightAlignedDistance(row.width, widths.take, border);
  row.cancelDistance = row.width - widths.cancel - widths.take - 5 * border;
  row.detailsDistance = row.width - widths.cancel - widths.take - widths.details - 11 * border;
  return row;
}

int TextWidth(const ActionButtonRow& row, int border) noexcept { return row.width - border; }

int ListWidth(const ActionButtonRow& row, int border) noexcept {
  return row.width - border - kListInset;
}
