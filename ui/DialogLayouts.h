// Every window of the program, as the dialogs describe themselves. The man page's widget
// hierarchy and the app-defaults file are generated from this list (tools/widgetdoc), so they
// follow the dialogs.
#pragma once

#include "ui/DialogLayout.h"

#include <vector>

// The windows in the order a session usually meets them.
[[nodiscard]] const std::vector<DialogLayout>& DialogLayouts();
