// The end of a dialog's shell when a resource editor (editres) has talked to it. The toolkit
// hangs the end of each such transfer on the answering shell: the editor's deletion of the
// answer, or the selection time-out that gives up on it. Both can come after the dialog has
// closed, and would then reach a freed widget. Such a shell is withdrawn from the screen when
// the dialog closes and destroyed once its transfers are over; any other shell at once.
#pragma once

#include <X11/Intrinsic.h>

namespace ShellRetirement {

// Makes the display report editres requests and selection requests to the shells; once, when
// the toolkit starts.
void Watch(Display* display);

// Takes the closed dialog's shell down, at once or after the transfers on it.
void Retire(Widget shell);

}  // namespace ShellRetirement
