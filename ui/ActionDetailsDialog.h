// The read-only preview of a request's action script. At most one exists; the action request
// dialog stays disabled until the user closes it with "OK".
#pragma once

struct ActionRequest;
class UICommandQueue;
struct DialogLayout;

// Does nothing while the preview is open; otherwise shows the record's Preview (empty when the
// record is null, no longer pending, or has none).
// Its closing is posted to commands.
void OpenActionDetailsDialog(const ActionRequest* request, UICommandQueue& commands);
[[nodiscard]] bool IsActionDetailsDialogOpen() noexcept;

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ActionDetailsDialogLayout();
