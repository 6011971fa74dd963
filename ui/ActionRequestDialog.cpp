// Placeholder until the dialog's widgets land: keeps the state the session asks about.
#include "ui/ActionRequestDialog.h"

namespace {
bool open = false;
bool enabled = false;
}  // namespace

void OpenActionRequestDialog(TimeInterval, bool) {
  if (open) return;
  open = true;
  enabled = true;
}
void RefreshActionRequestDialog() {}
void EnableActionRequestDialog() { enabled = true; }
void DisableActionRequestDialog() { enabled = false; }
void CloseActionRequestDialog() { open = false; }
bool IsActionRequestDialogOpen() noexcept { return open; }
bool IsActionRequestDialogEnabled() noexcept { return enabled; }
