#include "app/gate.h"

#include "app/classify.h"
#include "core/session.h"
#include "res/resource.h"

static const char RefusalNT4[] = "このﾌﾟﾛｸﾞﾗﾑはWindowsNT4.0には対応していません";
static const char RefusalWin95[] = "このﾌﾟﾛｸﾞﾗﾑはWindows95には対応していません";
static const char RefusalUnknown[] = "OSが不明です";

static const char *RefusalText(PlatformKind kind)
{
    switch (kind) {
    case PlatformKind::NT4:
        return RefusalNT4;
    case PlatformKind::Win95:
    case PlatformKind::Win95OSR2:
        return RefusalWin95;
    default:
        return RefusalUnknown;
    }
}

static void FocusClose(HWND window)
{
    SetFocus(GetDlgItem(window, IDOK));
}

static void DisableExecute(HWND window)
{
    EnableWindow(GetDlgItem(window, IDC_EXECUTE), FALSE);
}

void RunPlatformGate(HWND window)
{
    if (!session.firstActivation)
        return;
    // Cleared before any call that can pump messages: the refusal box re-activates us.
    session.firstActivation = false;

    static_assert(sizeof(OSVERSIONINFOA) == 148, "ANSI version record");
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    BOOL queried = GetVersionExA(&version);
    PlatformKind kind = ClassifyPlatform(queried != FALSE, version.dwMajorVersion,
                                         version.dwMinorVersion, version.dwPlatformId,
                                         version.dwBuildNumber);
    switch (kind) {
    case PlatformKind::Win2000:
        // The shipped template has no such label; the call fails harmlessly.
        SetDlgItemTextA(window, IDC_OS_LABEL, "Windows2000");
        session.platformKind = kind;
        FocusClose(window);
        return;
    case PlatformKind::WinMe:
        session.platformKind = kind;
        FocusClose(window);
        return;
    case PlatformKind::Win98:
        session.platformKind = kind;
        DisableExecute(window);
        FocusClose(window);
        return;
    default:
        session.platformKind = kind;
        DisableExecute(window);
        MessageBoxA(window, RefusalText(kind), "Message", MB_ICONERROR);
        // Posted, not sent: we may still be inside the dialog's creation.
        PostMessageA(window, WM_DESTROY, 0, 0);
        FocusClose(window);
        return;
    }
}
