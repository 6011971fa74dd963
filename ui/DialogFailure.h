// The end of a run whose interface failed: the failure is queued to the client, the program
// waits until the writer has sent it, and ends with status 0.
#pragma once

#include "foundation/text/AutoUString.h"

// For a dialog that could not be built ("ActionRequestDialog", "MessageDialog", ...): reports
// the dialog's name twice, waits for the outgoing queue to drain, ends the program.
[[noreturn]] void ReportDialogFailure(const char* dialogName);

// Runs build, which makes the dialog's widgets; whatever it throws ends the program as above.
template <typename Build>
void BuildOrReport(const char* dialogName, Build&& build) {
  try {
    build();
  } catch (...) {
    ReportDialogFailure(dialogName);
  }
}

// The same ending for a failure described by its own text (error code 1).
[[noreturn]] void ReportInterfaceFailure(const UString8& text);
