// The prompt for a request that carries a PreActionMessage: the user accepts (the take goes
// ahead) or refuses (nothing is taken). At most one exists; the action request dialog stays
// disabled while it is open.
#pragma once

struct ActionRequest;
class UICommandQueue;
struct DialogLayout;

// Does nothing while a confirmation is open; otherwise shows the record's Title and
// PreActionMessage. The answer is posted to commands with the record's arrival number.
void OpenConfirmationDialog(const ActionRequest& request, UICommandQueue& commands);
[[nodiscard]] bool IsConfirmationDialogOpen() noexcept;

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ConfirmationDialogLayout();
