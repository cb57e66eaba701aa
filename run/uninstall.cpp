#include "run/uninstall.h"

#include "core/session.h"
#include "files/plans.h"
#include "registry/plans.h"
#include "res/resource.h"

// LoadStringA fills at most 255 characters and the terminator.
static const int TextCapacity = 256;

// One step of the recorded family: its 9x or its NT plan. The gate leaves Execute enabled
// for Windows Me and Windows 2000 alone; any other kind has no plan, and the step stops
// the run as a plan that stopped would.
static bool RunStep(bool (*plan9x)(), bool (*planNT)())
{
    switch (session.platformKind) {
    case PlatformKind::WinMe:
        return plan9x();
    case PlatformKind::Win2000:
        return planNT();
    default:
        return false;
    }
}

static void Report(const char *caption, UINT textId, UINT icon)
{
    char text[TextCapacity];
    LoadStringA(session.instance, textId, text, sizeof text);
    MessageBoxA(session.mainWindow, text, caption, MB_OK | icon);
}

void RunUninstall()
{
    session.rowCount = 0;
    char caption[TextCapacity];
    LoadStringA(session.instance, IDS_TITLE, caption, sizeof caption);
    // No critical-error boxes mid-run, e.g. for an empty removable drive.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    bool ran = RunStep(RunFilePlan9x, RunFilePlanNT) && RunStep(RunRegistryPlan9x, RunRegistryPlanNT);
    SetErrorMode(previousMode & 0xFFFF);
    if (!ran)
        return; // the plan that stopped has shown its own box
    if (session.errorSeen) {
        Report(caption, IDS_PARTIAL_ERROR, MB_ICONWARNING);
        return;
    }
    Report(caption, session.rebootPending ? IDS_DONE_REBOOT : IDS_DONE, MB_ICONINFORMATION);
    EnableWindow(GetDlgItem(session.mainWindow, IDC_EXECUTE), FALSE);
}
