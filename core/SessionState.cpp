#include "core/SessionState.h"

SessionState sessionState;
