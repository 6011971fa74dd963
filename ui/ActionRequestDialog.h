// The program's main window: the pending action requests with their deadlines, a sentence that
// explains the set or the selected request, and the answers (take all, take, cancel, details,
// snooze). At most one exists; every answer disables it until the timer has carried it out.
#pragma once

#include <vector>

struct DialogLayout;
struct SessionState;
class UICommandQueue;

// Builds the dialog and refreshes it; nothing while it is open. It shows session's pending
// requests, offers its snooze settings and posts the user's answers to commands; both outlive it.
void OpenActionRequestDialog(const SessionState& session, UICommandQueue& commands);
// Refills the list and updates every text and control; only while open and enabled.
void RefreshActionRequestDialog();
void EnableActionRequestDialog();
void DisableActionRequestDialog();
void CloseActionRequestDialog();
[[nodiscard]] bool IsActionRequestDialogOpen() noexcept;

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ActionRequestDialogLayout();

// Every text the dialog looks up for an override itself (the string table's aside), for the
// translation-file checker.
[[nodiscard]] std::vector<const char*> ActionRequestDialogLookedUpTexts();
