// The driver's commands on processes: pdclean started as a given Windows version, waited
// for, and ended from outside as a crash or a power cut would end it.
#define UNICODE
#define _UNICODE
#include <windows.h>

#include <string>
#include <vector>

#include "tools/wine/driver.h"

PROCESS_INFORMATION child;
bool childStarted = false;
static std::vector<PROCESS_INFORMATION> started;

bool ChildRunning()
{
    return childStarted && WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT;
}

static bool SetWineVersion(const std::wstring &exe, const std::wstring &version)
{
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe;
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &handle,
                        NULL) != ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExW(handle, L"Version", 0, REG_SZ,
                            reinterpret_cast<const BYTE *>(version.c_str()),
                            static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return r == ERROR_SUCCESS;
}

// The 9x family: its MoveFileEx is a stub that refuses every request.
static const wchar_t *const Versions9x[] = {L"win95", L"win98", L"winme"};

// A program started as a 9x version must meet the delay refused: where it is not, the run
// would schedule as no such system can, so the driver stops.
static int Version(const Args &a)
{
    bool is9x = false;
    for (const wchar_t *v : Versions9x)
        is9x = is9x || a[2] == v;
    bool set = SetWineVersion(a[1], a[2]);
    bool refused = is9x && Begin9xRun();
    Report("version %s delay=%s", set ? "set" : "failed", refused ? "refused" : "allowed");
    return is9x && !refused ? 1 : 0;
}

static int Start(const Args &a)
{
    STARTUPINFOW si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    std::wstring line = L"\"" + a[1] + L"\"";
    for (size_t i = 2; i < a.size(); ++i)
        line += L" " + a[i];
    // In its own folder, as Explorer starts a program the user double-clicks.
    std::wstring folder = a[1].substr(0, a[1].find_last_of(L'\\') + 1);
    // Wine may refuse an image for a moment after a process of it was killed.
    DWORD error = ERROR_INTERNAL_ERROR;
    for (int tries = 0; error == ERROR_INTERNAL_ERROR && tries < 20; ++tries) {
        if (CreateProcessW(a[1].c_str(), &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si,
                           &child))
            error = ERROR_SUCCESS;
        else if ((error = GetLastError()) == ERROR_INTERNAL_ERROR)
            Sleep(100);
    }
    if (error != ERROR_SUCCESS) {
        Report("start failed error=%lu", error);
        return 1;
    }
    childStarted = true;
    started.push_back(child);
    Report("start pid=%lu", child.dwProcessId);
    return 0;
}

static int SleepFor(const Args &a)
{
    Sleep(Number(a, 1, 100));
    Report("sleep done");
    return 0;
}

static int Alive(const Args &)
{
    Report("alive %d", ChildRunning() ? 1 : 0);
    return 0;
}

static int Exit(const Args &a)
{
    if (!childStarted || WaitForSingleObject(child.hProcess, Number(a, 1, 10000)) != WAIT_OBJECT_0) {
        Report("exit timeout");
        return 0;
    }
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    Report("exit code=%lu", code);
    return 0;
}

static const wchar_t MachineRoot[] = L"HKLM\\";

// Whether a file, or a key given as HKLM\PATH, is there.
static bool ItemThere(const std::wstring &item)
{
    if (item.compare(0, 5, MachineRoot) != 0)
        return GetFileAttributesW(item.c_str()) != INVALID_FILE_ATTRIBUTES;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, item.c_str() + 5, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Whether the started program has ended or shown a box: its run is over.
static bool RunOver(DWORD *lastLook)
{
    if (GetTickCount() - *lastLook < 20)
        return false;
    *lastLook = GetTickCount();
    return !ChildRunning() || !ChildTopLevels("#32770").empty();
}

static bool KillChild()
{
    bool killed = TerminateProcess(child.hProcess, 99) != 0;
    WaitForSingleObject(child.hProcess, 5000);
    return killed;
}

// Ends the started program the moment any of the items (files, or keys as HKLM\PATH) is
// gone, as a crash or a power cut would: killwhengone:MS:ITEM[:ITEM...]. A run that ends
// first is "finished".
static int KillWhenGone(const Args &a)
{
    DWORD start = GetTickCount(), limit = Number(a, 1, 10000), lastLook = 0;
    while (childStarted && GetTickCount() - start < limit) {
        for (size_t i = 2; i < a.size(); ++i) {
            if (ItemThere(a[i]))
                continue;
            bool killed = KillChild();
            Report("killwhengone %s gone=%u", killed ? "killed" : "failed",
                   static_cast<unsigned>(i - 2));
            return 0;
        }
        if (RunOver(&lastLook)) {
            Report("killwhengone finished");
            return 0;
        }
    }
    Report("killwhengone timeout");
    return 0;
}

// Ends the started program MS milliseconds from now, unless its run is over by then:
// killafter:MS.
static int KillAfter(const Args &a)
{
    DWORD start = GetTickCount(), limit = Number(a, 1, 0), lastLook = 0;
    while (GetTickCount() - start < limit) {
        if (RunOver(&lastLook)) {
            Report("killafter finished");
            return 0;
        }
        Sleep(1);
    }
    Report("killafter %s", ChildRunning() && KillChild() ? "killed" : "finished");
    return 0;
}

void EndStartedPrograms()
{
    for (PROCESS_INFORMATION &p : started) {
        // Whatever a test left running must not leak into the next test.
        if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(p.hProcess, 99);
            WaitForSingleObject(p.hProcess, 5000);
            Report("leftover killed");
        }
        CloseHandle(p.hThread);
        CloseHandle(p.hProcess);
    }
}

static const Command Commands[] = {
    {L"version", 3, Version}, {L"start", 2, Start},  {L"sleep", 1, SleepFor},
    {L"alive", 1, Alive},     {L"exit", 1, Exit},    {L"killwhengone", 3, KillWhenGone},
    {L"killafter", 2, KillAfter},
};
const CommandTable ProcessCommands = {Commands, ARRAYSIZE(Commands)};
