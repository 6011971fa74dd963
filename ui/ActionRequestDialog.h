// The program's main window: the pending action requests with their deadlines, a sentence that
// explains the set or the selected request, and the answers (take all, take, cancel, details,
// snooze). At most one exists; every answer disables it until the timer has carried it out.
#pragma once

#include "foundation/platform/DebuggableException.h"
#include "text/time/DateTime.h"

#include <vector>

struct DialogLayout;

// The selected list position has no pending request behind it: the update that found it stops
// and the dialog keeps what it showed.
QVX_DECLARE_EXCEPTION(NoSelectedAction, DebuggableException);

// Builds the dialog with these opening values and refreshes it; nothing while it is open.
void OpenActionRequestDialog(TimeInterval remindInterval, bool allowSnooze);
// Refills the list and updates every text and control; only while open and enabled.
void RefreshActionRequestDialog();
void EnableActionRequestDialog();
void DisableActionRequestDialog();
void CloseActionRequestDialog();
[[nodiscard]] bool IsActionRequestDialogOpen() noexcept;
[[nodiscard]] bool IsActionRequestDialogEnabled() noexcept;

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout ActionRequestDialogLayout();

// Every text the dialog looks up for an override itself (the string table's aside), for the
// translation-file checker.
[[nodiscard]] std::vector<const char*> ActionRequestDialogLookedUpTexts();
