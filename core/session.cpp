#include "core/session.h"

// Zero-initialised: no start-up code runs for it.
SessionState session;
