// The read-only preview of a request's action script. At most one exists; the action request
// dialog stays disabled until the user closes it with "OK".
#pragma once

struct ActionRequest;
struct DialogLayout;

// Does nothing while the preview is open; otherwise shows the record's Preview (empty when the
// record is null, no longer pending, or has none).
void OpenActionDetailsDialog(const ActionRequest* request);
[[nodiscard]] bool IsActionDetailsDialogOpen() noexcept;

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ActionDetailsDialogLayout();
