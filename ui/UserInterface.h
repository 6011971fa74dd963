// The X side of the program's start: installs the error handlers, opens the display under the
// application class, chooses a font set, starts the tick clock and runs the toolkit's main
// loop. main calls it once the client's InitializationInfo has been applied.
#pragma once

class Session;
struct SessionState;
class WakePipe;

// The tick runs the session, once a second and whenever wake is raised or a dialog posts an
// answer, until the program ends through ExitApplication.
[[noreturn]] void RunUserInterface(Session& session, WakePipe& wake, int argumentCount,
                                   char** argumentVector);

// Everything before the timer and the main loop: handlers, context, display, locale check (a
// locale the toolkit cannot use leaves state without one), font set, actions. For programs that
// drive the dialogs without the timer (benchmarks).
void StartToolkit(SessionState& state, int argumentCount, char** argumentVector);
