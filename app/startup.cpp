// Start-up without a C runtime, so the program loads on a bare Windows Me or 2000.
#include <windows.h>

#include "app/command_tail.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup(void)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, CommandTail(GetCommandLineA()), show));
}
