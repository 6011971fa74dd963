// The work of one timer tick: everything the program does after start-up happens here, once a
// second, on the main thread. The toolkit's time-out calls it and re-arms itself; without a
// display main calls it from a plain one-second loop.
#pragma once

// Creates and realizes the hidden window; the tick calls it once, on its first tick after
// initialisation. Null where there is no display.
using HiddenWindowCreator = void (*)();

// In order: ends the program when the link is closed, dispatches the client's messages, carries
// out the user's commands; then, once initialised: creates the hidden window once, opens the
// action request dialog for requests that came before start-up or when the reminder time has
// passed, expires message windows, and outside quiet mode takes the forced requests whose
// deadline has passed and refreshes the dialog while a forced deadline is near.
void TimerTick(HiddenWindowCreator createHiddenWindow);

// Forgets that the hidden window was created, so that the next initialised tick creates it again.
// For a fresh session in tests.
void ResetTimerTick() noexcept;
