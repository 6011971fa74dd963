// The process-wide objects of the client link: the two message queues and the one link. They
// exist before main runs and are never destroyed, because the link's threads may still touch
// them while the process ends.
#pragma once

#include "core/MessageQueue.h"

class ClientLink;

// Texts read from the client, drained by the dispatcher on the main thread.
extern MessageQueue& incomingQueue;
// Texts for the client, drained by the link's writer thread.
extern MessageQueue& outgoingQueue;
// The one link, set by main; null until then.
extern ClientLink* clientLink;
