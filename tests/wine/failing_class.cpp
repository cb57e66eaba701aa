// Test build: stands in for the real registration to prove a failed one ends the program quietly.
#include "app/main_window.h"

const char MainClassName[] = "PDCLEAN";

ATOM RegisterMainClass(HINSTANCE instance)
{
    (void)instance;
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
}
