// The work of one tick: everything the program does after start-up happens here, on the main
// thread. The toolkit runs a tick once a second, and at once whenever a client message or an
// answer of the user is waiting, so that nothing waits for the next second.
#pragma once

class Session;

// Why this tick runs. The rules that count seconds (the message windows' Timeout, the countdown
// texts that change every second) follow only the clock's ticks.
enum class TickCause { kSecond, kWork };

// In order: ends the program when the link is closed; on the first initialised tick, tells the
// view the session started and shows the messages that came before; dispatches the client's
// messages, carries out the user's commands; then, once initialised: shows the pending requests
// that came before start-up or when the reminder time has passed, lets a second pass for the
// message windows (clock ticks only), and outside quiet mode takes the forced requests whose
// deadline has passed and, on clock ticks, refreshes the list while a forced deadline is near.
void TimerTick(Session& session, TickCause cause);
