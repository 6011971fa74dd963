// A dialog's widgets as data: one row per widget (name, class, parent, the resources fixed at
// creation) that BuildWidgetTable walks in order. Each dialog keeps its table beside its code, so
// the file reads like the dialog's design and only what is computed (placement from the widths
// the toolkit gave, the texts of the moment) is code. Every widget gets "international".
#pragma once

#include "foundation/text/AutoUString.h"

#include <X11/Intrinsic.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

enum class ResourceKind {
  kNumber,  // the value as it stands: sizes, booleans, enumerations
  kText,    // the dialog's text in this slot, already in the locale's encoding
  kWidget,  // the widget of this row of the table ("fromVert", "fromHoriz")
};

struct ResourceRow {
  const char* name = nullptr;
  ResourceKind kind = ResourceKind::kNumber;
  XtArgVal value = 0;
};

// The parent of the first widgets of a dialog: its shell.
constexpr int kShellRow = -1;
constexpr std::size_t kMaxResourcesPerRow = 8;

struct WidgetRow {
  const char* name;
  WidgetClass* widgetClass;
  int parent;  // a row above this one, or kShellRow
  std::array<ResourceRow, kMaxResourcesPerRow> resources;
};

// Shorthands that keep the tables readable.
constexpr ResourceRow Number(const char* name, XtArgVal value) {
  return {name, ResourceKind::kNumber, value};
}
constexpr ResourceRow TextSlot(const char* name, XtArgVal slot) {
  return {name, ResourceKind::kText, slot};
}
constexpr ResourceRow UnderRow(XtArgVal row) { return {"fromVert", ResourceKind::kWidget, row}; }

// A top-level application shell of the program's class for one dialog, titled in the locale's
// encoding; "name" null gives the application's own name.
[[nodiscard]] Widget CreateDialogShell(const std::string& title, const char* name = nullptr);
// Any other top-level shell of the program's class, with these resources.
[[nodiscard]] Widget CreateShell(const char* name, ArgList args, Cardinal count);

// Destroys every shell still open, the hidden window included: the end of the run's toolkit.
void DestroyAllShells();

// Creates every row's widget, managed, in table order; returns them by row. texts holds the
// locale-encoded texts that kText resources name by slot.
[[nodiscard]] std::vector<Widget> BuildWidgetTable(Widget shell, const WidgetRow* rows,
                                                   std::size_t count,
                                                   const std::vector<std::string>& texts);
// The same for a table built in stages: creates the rows from widgets.size() up to count and
// appends them, so that code can place what exists before the rows below it are made.
void ContinueWidgetTable(Widget shell, const WidgetRow* rows, std::size_t count,
                         const std::vector<std::string>& texts, std::vector<Widget>& widgets);

// UTF-8 to the locale's encoding, for a widget.
[[nodiscard]] std::string LocaleText(const UString8& text);
// The same for a one-line label or list item, cut at a character boundary after kLabelBytes: the
// server refuses to draw a string longer than a request can carry, and such an X error would end
// the program for one overlong title.
inline constexpr std::size_t kLabelBytes = 256;
[[nodiscard]] std::string LocaleLabel(const UString8& text);
[[nodiscard]] std::string LocaleText(const char* utf8);
// A looked-up text in the locale's encoding, or "<Invalid String>" when the locale cannot hold
// it: a translation file must not take a dialog down.
[[nodiscard]] std::string ShownText(const UString8& text);
// LocaleLabel and ShownText appended to target, for an item made of several texts.
void AppendLocaleLabel(std::string& target, const UString8& text);
void AppendShownText(std::string& target, const UString8& text);

// Sets one resource of a widget: a number, or a pointer such as a string, as XtArgVal.
void SetResource(Widget widget, const char* name, XtArgVal value);

// A Dimension or Position resource read back from a widget.
[[nodiscard]] int WidgetWidth(Widget widget);
[[nodiscard]] int WidgetHeight(Widget widget);
[[nodiscard]] int WidgetBorderWidth(Widget widget);
