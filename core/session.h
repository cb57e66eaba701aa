// The one process-wide state, touched by the GUI thread only.
#ifndef PDCLEAN_CORE_SESSION_H
#define PDCLEAN_CORE_SESSION_H

#include <windows.h>

#include "core/kinds.h"

struct SessionState {
    HINSTANCE instance = NULL;
    HWND mainWindow = NULL;
    PlatformKind platformKind = PlatformKind::Unknown;
    int rowCount = 0;
    bool rebootPending = false;
    bool errorSeen = false;
    bool firstActivation = true;
    bool runStarted = false; // set by the first Execute: one run per process
};

extern SessionState session;

#endif
