#include "run/session.h"

SessionState session = {NULL, NULL, PlatformKind::Unknown, 0, false, false, true};
