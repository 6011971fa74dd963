// The unmapped window "QVXClientUIHiddenWindow": another program opens the action request
// dialog by sending it a ClientMessage whose data begins with "open".
#pragma once

struct DialogLayout;
class UICommandQueue;

// Creates and realizes the window, never mapped, and hooks its handler, which posts the request
// to commands. Called once, when the session has started.
void CreateHiddenWindow(UICommandQueue& commands);

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout HiddenWindowLayout();
