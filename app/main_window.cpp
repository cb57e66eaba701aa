#include "app/main_window.h"

#include "app/gate.h"
#include "core/session.h"
#include "res/resource.h"
#include "run/uninstall.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        session.mainWindow = window;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        // Never passed on: the default would move the focus on every activation.
        RunPlatformGate(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (BeginPaint(window, &paint))
            EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            PostQuitMessage(0);
            break;
        case IDC_EXECUTE:
            // One run per process: any program may post this command, also while a run's
            // boxes are up, and a disabled button does not stop a posted one.
            if (session.runStarted)
                break;
            session.runStarted = true;
            EnableWindow(GetDlgItem(window, IDC_EXECUTE), FALSE);
            RunUninstall();
            break;
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
