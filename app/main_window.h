#ifndef PDCLEAN_APP_MAIN_WINDOW_H
#define PDCLEAN_APP_MAIN_WINDOW_H

#include <windows.h>

// Window procedure of class "PDCLEAN", and so of the main dialog.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Returns the class atom, 0 on failure.
ATOM RegisterMainClass(HINSTANCE instance);

extern const char MainClassName[];

#endif
