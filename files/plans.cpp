#include "files/plans.h"

#include <windows.h>
#include <setupapi.h>

#include "core/library.h"
#include "core/recorder.h"
#include "core/session.h"
#include "core/text.h"
#include "files/path_rules.h"
#include "files/primitives.h"
#include "files/tree.h"

// Tables end with an empty entry.
static const char *const SystemFiles9x[] = {"vavad.vxd", "styinst.dll", "styins16.dll", ""};
static const char *const WindowsFiles9x[] = {"inf\\other\\tavrotablet.inf", "pdclean.exe", ""};
static const char *const Directories9x[] = {""};
static const char *const SystemFilesNT[] = {
    "drivers\\digclass.sys", "stylhook.dll", "digcls32.dll", "stycp-en.znc", "stycp-jp.znc",
    "vavad.cpl", "vavad.exe", "tavro.dat", "wintab32.dll", "wintab.dll", "",
};
static const char *const WindowsFilesNT[] = {"inf\\vavad.inf", "inf\\vavad.pnf", "pdclean.exe", ""};
static const char *const RootDirectories2000[] = {""};

static const char PenClass[] = "PEN";
// The system's numbered copies of setup files, and their precompiled twins.
static const char *const OemInf = "oem%d.inf";
static const char *const OemPnf = "oem%d.pnf";

// Bases are queried into 258 characters, leaving room for the trailing backslash.
static const UINT BaseCapacity = 258;
// Composed paths and labels.
static const int PathCapacity = 1024;

static void ShowPlanError(const char *text)
{
    MessageBoxA(session.mainWindow, text, "Error", MB_ICONERROR);
}

// A directory query and its trailing backslash; false after the error box.
static bool QueryBase(UINT (WINAPI *query)(LPSTR, UINT), char *base, const char *failure)
{
    UINT n = query(base, BaseCapacity);
    if (n == 0 || n >= BaseCapacity) {
        ShowPlanError(failure);
        return false;
    }
    base[n] = '\\';
    base[n + 1] = '\0';
    return true;
}

static bool QueryBases(char *windows, char *system)
{
    return QueryBase(GetWindowsDirectoryA, windows, "Windowsﾃﾞｨﾚｸﾄﾘが見つかりませんでした") &&
           QueryBase(GetSystemDirectoryA, system, "Systemﾃﾞｨﾚｸﾄﾘが見つかりませんでした");
}

bool ComposePlanItem(char *path, const char *base, const char *entry)
{
    if (TextLength(base) + TextLength(entry) >= PathCapacity - 1) {
        ShowPlanError("ﾊﾞｯﾌｧｴﾗｰ");
        return false;
    }
    ConcatPath(path, PathCapacity, base, entry);
    return true;
}

enum class ItemKind { File, Tree };

// Removes every item of a table under base; records each outcome when asked.
static bool RunTable(const char *const *table, const char *base, ItemKind kind, bool record)
{
    char path[PathCapacity];
    for (; **table != '\0'; ++table) {
        if (!ComposePlanItem(path, base, *table))
            return false;
        Outcome outcome = kind == ItemKind::File ? DeleteOrSchedule(path) : RemoveDirectoryTree(path);
        if (record)
            RecordOutcome(path, outcome);
        else
            NoteOutcome(outcome);
    }
    return true;
}

bool RunFilePlan9x()
{
    char windows[BaseCapacity + 1], system[BaseCapacity + 1];
    if (!QueryBases(windows, system))
        return false;
    return RunTable(SystemFiles9x, system, ItemKind::File, true) &&
           RunTable(WindowsFiles9x, windows, ItemKind::File, true) &&
           RunTable(Directories9x, windows, ItemKind::Tree, true);
}

bool RunFilePlanNT()
{
    char windows[BaseCapacity + 1], system[BaseCapacity + 1];
    if (!QueryBases(windows, system))
        return false;
    char root[4] = {windows[0], windows[1], windows[2], '\0'}; // "C:\"
    char inf[BaseCapacity + 5];
    ConcatPath(inf, sizeof inf, windows, "inf\\");

    if (!RunTable(SystemFilesNT, system, ItemKind::File, false) ||
        !RunTable(WindowsFilesNT, windows, ItemKind::File, false))
        return false;
    if (session.platformKind == PlatformKind::Win2000 &&
        !RunTable(RootDirectories2000, root, ItemKind::Tree, false))
        return false;
    SweepOemInfs(inf);
    return true;
}

// The INF functions are looked up at run time: a setupapi.dll bound at load time would
// keep the program from starting on systems without it, before the gate could refuse them.
struct InfApi {
    HINF (WINAPI *openInfFile)(PCSTR, PCSTR, DWORD, PUINT);
    void (WINAPI *closeInfFile)(HINF);
    BOOL (WINAPI *findFirstLine)(HINF, PCSTR, PCSTR, PINFCONTEXT);
    BOOL (WINAPI *getStringField)(PINFCONTEXT, DWORD, PSTR, DWORD, PDWORD);
};
static const char *const InfApiNames[] = {
    "SetupOpenInfFileA", "SetupCloseInfFile", "SetupFindFirstLineA", "SetupGetStringFieldA",
};
static_assert(sizeof(InfApi) == sizeof InfApiNames, "one name per function");

// The class the INF's [Version] section names. Checked ourselves: some setup API
// implementations open an INF of any class whatever class was asked for.
static bool HasClass(const InfApi &api, HINF inf, const char *wanted)
{
    INFCONTEXT line;
    char name[64];
    if (!api.findFirstLine(inf, "Version", "Class", &line) ||
        !api.getStringField(&line, 1, name, sizeof name, NULL))
        return false;
    return lstrcmpiA(name, wanted) == 0;
}

enum class InfKind { Pen, Other, Unreadable };

// Opens a bare INF name from the default INF locations. The setup API's own errors (another
// class, a syntax error, an old-style INF) say the file was read and is not ours; a system
// error (in use, access denied) says it could not be read, so its class is unknown.
static InfKind ClassifyInf(const InfApi &api, const char *name)
{
    UINT errorLine;
    HINF inf = api.openInfFile(name, PenClass, INF_STYLE_WIN4, &errorLine);
    if (inf == INVALID_HANDLE_VALUE)
        return GetLastError() & APPLICATION_ERROR_MASK ? InfKind::Other : InfKind::Unreadable;
    InfKind kind = HasClass(api, inf, PenClass) ? InfKind::Pen : InfKind::Other;
    api.closeInfFile(inf);
    return kind;
}

// infDirectory + "oemN" + extension into path, the bare name into name (20 bytes).
static void OemPath(char *path, char *name, const char *infDirectory, int n, const char *format)
{
    wsprintfA(name, format, n);
    ConcatPath(path, PathCapacity, infDirectory, name);
}

// True when the file was removed or scheduled for the restart. Once one file has had to wait
// for the restart, every file after it waits too (waiting records true).
static bool RemoveOemFile(const char *infDirectory, int n, const char *format, bool *waiting)
{
    char name[20], path[PathCapacity];
    OemPath(path, name, infDirectory, n, format);
    Outcome outcome = *waiting ? ScheduleDelete(path) : DeleteOrSchedule(path);
    NoteOutcome(outcome);
    if (outcome == Outcome::DeleteAtRestart)
        *waiting = true;
    return outcome != Outcome::Error;
}

// The range is oem0 up to the first number without an oemN.inf, as the system numbers its
// copies. It is worked from the top down, each .pnf before its .inf, and ends at the first
// copy that resists or cannot be read: whatever a cut-short or failed run leaves then lies
// inside the range that the next run finds, never behind a gap of our own making. Once a
// file waits for the restart, nothing below it goes before the restart either: a copy gone
// now under one that waits would be such a gap until then.
static void SweepWith(const InfApi &api, const char *infDirectory)
{
    char name[20], path[PathCapacity];
    int top = 0;
    for (;; ++top) {
        OemPath(path, name, infDirectory, top, OemInf);
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (IsAbsentError(GetLastError()))
            break;
        // Not known to be absent: it may be a copy, so nothing below it may go.
        NoteOutcome(Outcome::Error);
        return;
    }
    bool waiting = false;
    while (--top >= 0) {
        OemPath(path, name, infDirectory, top, OemInf);
        InfKind kind = ClassifyInf(api, name);
        if (kind == InfKind::Other)
            continue;
        if (kind == InfKind::Unreadable) {
            NoteOutcome(Outcome::Error);
            return;
        }
        if (!RemoveOemFile(infDirectory, top, OemPnf, &waiting) ||
            !RemoveOemFile(infDirectory, top, OemInf, &waiting))
            return;
    }
}

// On Windows 2000 the setup API is part of the system: without it no copy's class can be
// checked, so none is deleted, and the run is not done.
void SweepOemInfs(const char *infDirectory)
{
    InfApi api;
    HMODULE library = LoadFunctions("setupapi.dll", InfApiNames, ARRAYSIZE(InfApiNames), &api);
    if (library == NULL) {
        NoteOutcome(Outcome::Error);
        return;
    }
    SweepWith(api, infDirectory);
    FreeLibrary(library);
}
