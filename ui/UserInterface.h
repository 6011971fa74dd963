// The X side of the program's start: installs the error handlers, opens the display under the
// application class, chooses a font set, arms the timer and runs the toolkit's main loop. main
// calls it once the client's InitializationInfo has been applied.
#pragma once

class Session;
struct SessionState;

// The timer ticks session until the program ends through ExitApplication.
[[noreturn]] void RunUserInterface(Session& session, int argumentCount, char** argumentVector);

// Everything before the timer and the main loop: handlers, context, display, locale check (a
// locale the toolkit cannot use leaves state without one), font set, actions. For programs that
// drive the dialogs without the timer (benchmarks).
void StartToolkit(SessionState& state, int argumentCount, char** argumentVector);
