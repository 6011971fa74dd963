// Placeholder until the notice lands.
#include "ui/QuietModeNotice.h"

void ShowQuietModeNotice(DateTime, DateTime) {}
void CloseQuietModeNotice() {}
