// Where the action request dialog puts its buttons: the four answer buttons on one row under the
// list, the last one ending at the description's right edge, and the snooze button likewise
// under the snooze list. Pure arithmetic on the widths the toolkit gave the widgets.
#pragma once

// The natural widths of the four answer buttons, in pixels.
struct ActionButtonWidths {
  int takeAll = 0;
  int details = 0;
  int cancel = 0;
  int take = 0;
};

// The row's width and each button's distance from the form's left edge ("takeAllActions" keeps
// the form's default distance).
struct ActionButtonRow {
  int width = 0;
  // The buttons did not fit under the description: the title, the description and the list
  // get narrower than the row by the values of TextWidth and ListWidth.
  bool widened = false;
  int takeDistance = 0;
  int cancelDistance = 0;
  int detailsDistance = 0;
};

// descriptionWidth and border are the description's "width" and "borderWidth".
[[nodiscard]] ActionButtonRow PlaceActionButtons(int descriptionWidth, int border,
                                                 const ActionButtonWidths& widths) noexcept;

// A button whose right edge meets the row's: "takeActions" and "snoozeButton".
[[nodiscard]] int RightAlignedDistance(int rowWidth, int buttonWidth, int border) noexcept;

// After widening: the title's and description's new width, and the list viewport's.
[[nodiscard]] int TextWidth(const ActionButtonRow& row, int border) noexcept;
[[nodiscard]] int ListWidth(const ActionButtonRow& row, int border) noexcept;
