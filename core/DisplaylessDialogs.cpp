#include "core/DisplaylessDialogs.h"

void DisplaylessDialogs::OpenActionRequestDialog(TimeInterval, bool) {
  if (open_) return;
  open_ = true;
  enabled_ = true;
}

void DisplaylessDialogs::EnableActionRequestDialog() {
  if (open_) enabled_ = true;
}

void DisplaylessDialogs::DisableActionRequestDialog() {
  if (open_) enabled_ = false;
}
