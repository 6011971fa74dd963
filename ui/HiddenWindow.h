// The unmapped window "QVXClientUIHiddenWindow": another program opens the action request
// dialog by sending it a ClientMessage whose data begins with "open".
#pragma once

struct DialogLayout;

// Creates and realizes the window, never mapped, and hooks its handler. Called once by the
// first tick after initialisation.
void CreateHiddenWindow();

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout HiddenWindowLayout();
