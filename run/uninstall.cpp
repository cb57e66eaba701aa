#include "run/uninstall.h"

#include "run/session.h"

void RunUninstall()
{
    session.rowCount = 0;
    // No critical-error boxes mid-run, e.g. for an empty removable drive.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    switch (session.platformKind) {
    case PlatformKind::WinMe:
        break;
    case PlatformKind::Win2000:
        break;
    default:
        break;
    }
    SetErrorMode(previousMode & 0xFFFF);
}
