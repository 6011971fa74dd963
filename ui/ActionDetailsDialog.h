// The read-only preview of a request's action script. At most one exists; the action request
// dialog stays disabled until the user closes it with "OK".
#pragma once

#include <cstdint>

struct DialogLayout;

// Does nothing while the preview is open; otherwise shows the Preview of the pending request
// with this ID (empty when it is no longer pending or has none).
void OpenActionDetailsDialog(std::uint64_t id);

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ActionDetailsDialogLayout();
