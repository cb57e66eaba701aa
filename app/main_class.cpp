// Kept apart from the window procedure so a test build can swap in a failing registration.
#include "app/main_window.h"

#include "res/resource.h"

const char MainClassName[] = "PDCLEAN";

ATOM RegisterMainClass(HINSTANCE instance)
{
    static_assert(DLGWINDOWEXTRA == 30, "dialog class extra bytes");
    WNDCLASSA windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    // Erased in the menu colour, as the dialog always looked.
    windowClass.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = MainClassName;
    return RegisterClassA(&windowClass);
}
