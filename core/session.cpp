#include "core/session.h"

// Constant-initialised from the member initialisers: no start-up code runs for it.
SessionState session;
