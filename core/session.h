// The one process-wide state, touched by the GUI thread only.
#ifndef PDCLEAN_CORE_SESSION_H
#define PDCLEAN_CORE_SESSION_H

#include <windows.h>

#include "core/kinds.h"

// No initialisers: as a static object it starts all zero, and no start-up code runs for it.
// What starts otherwise is set by WinMain before any window exists.
struct SessionState {
    HINSTANCE instance;
    HWND mainWindow;
    PlatformKind platformKind; // Unknown (0) until the gate has run
    int rowCount;
    bool rebootPending;
    bool errorSeen;
    bool firstActivation; // true from WinMain on, until the gate has run
    bool runStarted;      // set by the first Execute: one run per process
};

extern SessionState session;

#endif
