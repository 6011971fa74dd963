// Every window of the program as data: its name in failure reports, its English title, its
// shell's resource name and its widget table, with the resources the program computes at
// creation beyond the table. The man page's widget hierarchy and the app-defaults file are
// generated from this list (tools/widgetdoc), so they follow the dialogs.
#pragma once

#include "ui/WidgetTable.h"

#include <cstddef>
#include <vector>

struct DialogLayout {
  const char* dialogName;  // as in ClientUIErrorMessage ("ConfirmationDialog")
  const char* title;       // the English window title; null for a window that never shows
  const char* shellName;   // null: the application's own name
  const WidgetRow* rows;
  std::size_t rowCount;
  // "row.resource" (or "resource" for the shell) set by code once the table is built.
  std::vector<const char*> computedResources;
  const char* titleNote = nullptr;  // when the title is not always the one above
};

// Resources the program gives every widget or every dialog shell itself.
inline constexpr const char* kEveryWidgetResources[] = {"international"};
inline constexpr const char* kEveryShellResources[] = {"title", "x", "y", "international"};

// The windows in the order a session usually meets them.
[[nodiscard]] const std::vector<DialogLayout>& DialogLayouts();
