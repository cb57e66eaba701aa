// The driver's commands on files: held open by another program, as a running driver or a
// reader holds them, or replaced at the restart by an update.
#define UNICODE
#define _UNICODE
#include <windows.h>

#include <string>
#include <vector>

#include "tools/wine/driver.h"

// Holds a file open until the driver ends: unshared, as a loaded driver holds its file, or
// with "read" shared for reading, as a program that reads it does.
static int Hold(const Args &a)
{
    DWORD share = a.size() > 2 && a[2] == L"read" ? FILE_SHARE_READ : 0;
    HANDLE h = CreateFileW(a[1].c_str(), GENERIC_READ, share, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        Report("hold failed error=%lu", GetLastError());
        return 1;
    }
    Report("hold done"); // the handle is closed when the driver ends
    return 0;
}

// Sets a file's read-only (r), hidden (h) and system (s) attributes: attr:PATH:rhs.
static int Attr(const Args &a)
{
    DWORD attributes = 0;
    for (wchar_t c : a[2])
        attributes |= c == L'r' ? FILE_ATTRIBUTE_READONLY : c == L'h' ? FILE_ATTRIBUTE_HIDDEN
                    : c == L's' ? FILE_ATTRIBUTE_SYSTEM : 0;
    bool set = SetFileAttributesW(a[1].c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
    Report("attr %s", set ? "set" : "failed");
    return set ? 0 : 1;
}

// The 8.3 form of a path, as WININIT.EXE reads it in wininit.ini (hex, ANSI), or "absent".
static int ShortName(const Args &a)
{
    char path[MAX_PATH], shortPath[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, a[1].c_str(), -1, path, MAX_PATH, NULL, NULL);
    DWORD n = GetShortPathNameA(path, shortPath, MAX_PATH);
    Report("shortname %s", n > 0 && n < MAX_PATH ? Hex(shortPath, n).c_str() : "absent");
    return 0;
}

// Asks NT's restart to put a file in place of another, as an update of a file in use does:
// replaceatrestart:NEW:OLD.
static int ReplaceAtRestart(const Args &a)
{
    bool asked = MoveFileExW(a[1].c_str(), a[2].c_str(),
                             MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
    Report("replaceatrestart %s", asked ? "done" : "failed");
    return asked ? 0 : 1;
}

static const Command Commands[] = {
    {L"hold", 2, Hold}, {L"attr", 3, Attr}, {L"shortname", 2, ShortName},
    {L"replaceatrestart", 3, ReplaceAtRestart},
};
const CommandTable FileCommands = {Commands, ARRAYSIZE(Commands)};
