// The windows of the client's MessageRequests: a running action's message or a completion
// notice, one window per message ID, newest last. A known ID updates its window in place.
#pragma once

#include "core/IncomingMessages.h"
#include "core/SessionView.h"

#include <cstdint>
#include <vector>

struct DialogLayout;

// Before the display is open (a message ahead of InitializationInfo) the message waits and the
// first ExpireMessageDialogs with a display shows it. A hidden button leaves the window without
// a usable one; topmost stacking keeps it above other windows where the window manager supports
// it.
void ShowMessageDialog(const MessageRequest& message, MessageButton button,
                       MessageStacking stacking);
// Closes the window of this ID, if any.
void RemoveMessageDialog(std::uint64_t id);
// Closes every window whose Timeout has run out.
void ExpireMessageDialogs();

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout MessageDialogLayout();

// Every text the window looks up for an override itself, for the translation-file checker.
[[nodiscard]] std::vector<const char*> MessageDialogLookedUpTexts();
