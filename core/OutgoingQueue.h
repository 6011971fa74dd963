// The queue of texts for the client. Every sender fills it, on the main thread and from the X
// error handlers, which get no argument to carry it; the link's writer thread drains it. It
// exists before main runs and is never destroyed, because the writer may still touch it while
// the process ends.
#pragma once

#include "core/MessageQueue.h"

extern MessageQueue& outgoingQueue;
