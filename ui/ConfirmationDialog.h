// The prompt for a request that carries a PreActionMessage: the user accepts (the take goes
// ahead) or refuses (nothing is taken). At most one exists; the action request dialog stays
// disabled while it is open.
#pragma once

#include <cstdint>

struct DialogLayout;

// Does nothing while a confirmation is open; otherwise shows the Title and PreActionMessage of
// the pending request with this ID (empty texts when it is no longer pending).
void OpenConfirmationDialog(std::uint64_t id);

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ConfirmationDialogLayout();
