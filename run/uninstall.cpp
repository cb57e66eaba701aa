#include "run/uninstall.h"

#include "files/plans.h"
#include "run/session.h"

// The file step of the recorded family; false when the plan stopped on an environment error.
static bool RunFileStep()
{
    switch (session.platformKind) {
    case PlatformKind::WinMe:
        return RunFilePlan9x();
    case PlatformKind::Win2000:
        return RunFilePlanNT();
    default:
        return false; // the gate leaves Execute enabled for these two alone
    }
}

void RunUninstall()
{
    session.rowCount = 0;
    // No critical-error boxes mid-run, e.g. for an empty removable drive.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    RunFileStep();
    SetErrorMode(previousMode & 0xFFFF);
}
