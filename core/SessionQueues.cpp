#include "core/SessionQueues.h"

// Built during static initialisation and deliberately never destroyed (see the header).
MessageQueue& incomingQueue = *new MessageQueue;
MessageQueue& outgoingQueue = *new MessageQueue;
ClientLink* clientLink = nullptr;
