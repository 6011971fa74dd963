// The notice shown while the administrator has disabled the interface for a period: at most one,
// shown only while the action request dialog is open.
#pragma once

#include "text/time/DateTime.h"

struct DialogLayout;

// Does nothing while the notice is open; otherwise shows the period as local times of day.
void ShowQuietModeNotice(DateTime startTime, DateTime endTime);
void CloseQuietModeNotice();

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout QuietModeNoticeLayout();
