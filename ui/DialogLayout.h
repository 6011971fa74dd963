// One window of the program as data: its name in failure reports, its English title, its shell's
// resource name and its widget table, with the resources the program computes at creation beyond
// the table. Each dialog describes itself with one; the registry in DialogLayouts.h lists them.
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
inline constexpr const char* kEveryShellResources[] = {"title",         "x",     "y",
                                                       "international", "input", "openIm"};
