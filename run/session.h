// The one process-wide state, touched by the GUI thread only.
#ifndef PDCLEAN_RUN_SESSION_H
#define PDCLEAN_RUN_SESSION_H

#include <windows.h>

#include "run/kinds.h"

struct SessionState {
    HINSTANCE instance;
    HWND mainWindow;
    PlatformKind platformKind;
    int rowCount;
    bool rebootPending;
    bool errorSeen;
    bool firstActivation;
};

extern SessionState session;

#endif
