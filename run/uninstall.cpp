#include "run/uninstall.h"

#include "files/plans.h"
#include "registry/plans.h"
#include "res/resource.h"
#include "run/session.h"

// LoadStringA fills at most 255 characters and the terminator.
static const int TextCapacity = 256;

// The gate leaves Execute enabled for Windows Me and Windows 2000 alone; any other kind
// has no plan, and its step stops the run as a plan would.
static bool RunFileStep()
{
    switch (session.platformKind) {
    case PlatformKind::WinMe:
        return RunFilePlan9x();
    case PlatformKind::Win2000:
        return RunFilePlanNT();
    default:
        return false;
    }
}

static bool RunRegistryStep()
{
    switch (session.platformKind) {
    case PlatformKind::WinMe:
        return RunRegistryPlan9x();
    case PlatformKind::Win2000:
        return RunRegistryPlanNT();
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
    bool ran = RunFileStep() && RunRegistryStep();
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
