// The dispatcher: turns the texts that the client link queued on incomingQueue into session
// state and dialog operations. Runs on the main thread only.
#pragma once

void ProcessClientMessages();
