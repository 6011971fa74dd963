// The work of one timer tick: everything the program does after start-up happens here, once a
// second, on the main thread. The toolkit's time-out calls it and re-arms itself.
#pragma once

class Session;

// In order: ends the program when the link is closed; on the first initialised tick, tells the
// view the session started and shows the messages that came before; dispatches the client's
// messages, carries out the user's commands; then, once initialised: shows the pending requests
// that came before start-up or when the reminder time has passed, lets a second pass for the
// message windows, and outside quiet mode takes the forced requests whose deadline has passed and
// refreshes the list while a forced deadline is near.
void TimerTick(Session& session);
