// The X side of the program's start: installs the error handlers, opens the display under the
// application class, chooses a font set, arms the timer and runs the toolkit's main loop. main
// calls it once the client's InitializationInfo has been applied.
#pragma once

// Does not return while the main loop runs: the program ends through ExitApplication.
int RunUserInterface(int argumentCount, char** argumentVector);

// Everything before the timer and the main loop: handlers, context, display, locale check, font
// set, actions. For programs that drive the dialogs without the timer (benchmarks).
void StartToolkit(int argumentCount, char** argumentVector);
