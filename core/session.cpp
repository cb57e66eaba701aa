#include "core/session.h"

// Zero-initialised: no start-up code runs for it, and it lives in .bss.
SessionState session;
