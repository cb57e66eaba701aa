#ifndef PDCLEAN_APP_GATE_H
#define PDCLEAN_APP_GATE_H

#include <windows.h>

// Decides once per process whether removal may run here; later calls do nothing.
void RunPlatformGate(HWND window);

#endif
