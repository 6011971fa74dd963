// The notice shown while the administrator has disabled the interface for a period: at most one,
// shown only while the action request dialog is open.
#pragma once

#include "text/time/DateTime.h"

struct DialogLayout;
class UICommandQueue;

// Does nothing while the notice is open; otherwise shows the period as local times of day.
// Its closing is posted to commands.
void ShowQuietModeNotice(DateTime startTime, DateTime endTime, UICommandQueue& commands);
void CloseQuietModeNotice();

// The window's widgets for the generated documentation.
[[nodiscard]] DialogLayout QuietModeNoticeLayout();
