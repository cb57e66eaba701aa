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

// One copy, its .pnf first: a run cut short between the two keeps the .inf, by which the
// next run finds the copy. For the same reason, once the .pnf must wait for the restart,
// so must the .inf, and a .pnf that resists keeps its .inf.
static void RemoveCopy(const InfApi &api, const char *infDirectory, const char *name)
{
    InfKind kind = ClassifyInf(api, name);
    char path[PathCapacity];
    if (kind == InfKind::Other)
        return;
    if (kind == InfKind::Unreadable || !ConcatPath(path, PathCapacity, infDirectory, name)) {
        NoteOutcome(Outcome::Error);
        return;
    }
    char *extension = path + TextLength(path) - 3;
    *extension = 'p';
    Outcome twin = DeleteOrSchedule(path);
    NoteOutcome(twin);
    if (twin == Outcome::Error)
        return;
    *extension = 'i';
    NoteOutcome(twin == Outcome::DeleteAtRestart ? ScheduleDelete(path) : DeleteOrSchedule(path));
}

// Every copy in the folder, whatever its number: the system looks for drivers in every INF
// there, so a copy behind a gap in the numbers would install the driver again. Entries the
// listing has returned may be deleted while it goes on.
static void SweepWith(const InfApi &api, const char *infDirectory)
{
    char pattern[PathCapacity];
    ConcatPath(pattern, PathCapacity, infDirectory, "oem*.inf");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    DWORD error = GetLastError();
    if (search != INVALID_HANDLE_VALUE) {
        do {
            // The pattern also matches through 8.3 aliases; only the setup API's own names count.
            if (IsOemInfName(found.cFileName) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                RemoveCopy(api, infDirectory, found.cFileName);
        } while (FindNextFileA(search, &found));
        error = GetLastError();
        FindClose(search);
    }
    // A folder that cannot be listed may hold copies.
    if (error != ERROR_NO_MORE_FILES && !IsAbsentError(error))
        NoteOutcome(Outcome::Error);
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
