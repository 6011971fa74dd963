#include "core/OutgoingQueue.h"

// Built during static initialisation and deliberately never destroyed (see the header).
MessageQueue& outgoingQueue = *new MessageQueue;
