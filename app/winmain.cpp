#include <windows.h>

#include "app/main_window.h"
#include "core/session.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)commandLine;
    session.instance = instance;
    session.firstActivation = true;
    if (previous == NULL && RegisterMainClass(instance) == 0)
        return 0;

    // The template names our class, so MainWindowProc gets everything; no dialog procedure.
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), NULL, NULL, 0);
    if (dialog == NULL) {
        MessageBoxA(NULL, "Can't create DialogBox", "Error", MB_OK);
        return 0;
    }
    ShowWindow(dialog, showCommand);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0)) {
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
