#include "files/restart.h"

#include <windows.h>

#include "core/session.h"
#include "core/text.h"
#include "files/path_rules.h"
#include "files/pending_list.h"
#include "files/rename_list.h"

// wsprintfA writes at most 1024 characters with the terminator.
static const int LineCapacity = 1024;
static const char IniName[] = "\\wininit.ini";

static bool IsLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

// The path's 8.3 form, "" when it has none to be had.
static void ShortPath(const char *path, char *out)
{
    DWORD n = GetShortPathNameA(path, out, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        out[0] = '\0';
}

void ShortNameToMatch(const char *path, char *out)
{
    // A path of 8.3 names is its own short form, in another letter case at most.
    if (IsShortPath(path, IsLeadByte))
        out[0] = '\0';
    else
        ShortPath(path, out);
}

// WININIT.EXE runs before long names exist and ignores lines that carry them. A file not
// there now (one that restart work will create) keeps the name it is given, if that is short.
static bool ShortForm(const char *path, char *out)
{
    ShortPath(path, out);
    if (out[0] == '\0' && IsAbsentError(GetLastError()) && TextLength(path) < MAX_PATH)
        lstrcpyA(out, path);
    return out[0] != '\0' && IsShortPath(out, IsLeadByte);
}

// The entry line, CR LF included; its length, or 0 when it cannot be written truly.
static int FormatEntry(const char *existingPath, const char *newPath, char *line)
{
    char source[MAX_PATH];
    char destination[MAX_PATH];
    if (!ShortForm(existingPath, source))
        return 0;
    if (newPath == NULL)
        lstrcpyA(destination, "NUL"); // the device: a deletion, not a file named NULL
    else if (!ShortForm(newPath, destination))
        return 0;
    if (TextLength(destination) + 1 + TextLength(source) + 2 >= LineCapacity)
        return 0;
    return wsprintfA(line, "%hs=%hs\r\n", destination, source);
}

static bool IniPath(char *path)
{
    UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - (sizeof IniName - 1))
        return false;
    lstrcpyA(path + n, IniName);
    return true;
}

// Edits the open file in place through one mapping grown by the room the edit may need.
static bool InsertThroughMapping(HANDLE file, DWORD oldSize, const char *line, DWORD lineLength,
                                 DWORD *newSize)
{
    *newSize = oldSize;
    DWORD room = lineLength + static_cast<DWORD>(RenameEditSpare);
    if (oldSize > MAXDWORD - room)
        return false;
    HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READWRITE, 0, oldSize + room, NULL);
    if (mapping == NULL)
        return false;
    bool written = false;
    char *view = static_cast<char *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (view != NULL) {
        size_t n = InsertRenameEntry(view, oldSize, oldSize + room, line, lineLength);
        if (n > 0) {
            *newSize = static_cast<DWORD>(n);
            written = FlushViewOfFile(view, 0) != FALSE;
        }
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return written;
}

bool AddToRenameList(const char *existingPath, const char *newPath)
{
    char line[LineCapacity];
    int lineLength = FormatEntry(existingPath, newPath, line);
    char path[MAX_PATH];
    if (lineLength <= 0 || !IniPath(path))
        return false;

    // The 9x profile functions may hold the file in a cache: written back later, the cached
    // copy would drop our line, and while held the file may not open.
    WritePrivateProfileStringA(NULL, NULL, NULL, path);
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD oldSize = GetFileSize(file, &high);
    bool written = false;
    // A list of 4 GiB or more is no list the system would read; leave it be.
    if (oldSize != INVALID_FILE_SIZE && high == 0) {
        DWORD newSize;
        written = InsertThroughMapping(file, oldSize, line, static_cast<DWORD>(lineLength),
                                       &newSize);
        // Drops the spare room, or takes a failed edit back to the old size. Left at the
        // grown size, the file would end in the mapping's spare bytes.
        LONG highPart = 0; // with a high part, the low one counts as unsigned
        DWORD at = SetFilePointer(file, static_cast<LONG>(newSize), &highPart, FILE_BEGIN);
        bool trimmed = at != INVALID_SET_FILE_POINTER && SetEndOfFile(file);
        written = written && trimmed;
    }
    CloseHandle(file);
    return written;
}

// Whether wininit.ini's first "[rename]" section will put a file at path, read through a
// mapping as the edit is made. A file that is not there or cannot be read holds nothing we
// know of.
static bool RenameListWillReplace(const char *path)
{
    char ini[MAX_PATH];
    if (!IniPath(ini))
        return false;
    WritePrivateProfileStringA(NULL, NULL, NULL, ini); // lines the profile cache still holds
    HANDLE file = CreateFileA(ini, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool replaces = false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    // An empty file has no mapping; one of 4 GiB or more is no list the system would read.
    HANDLE mapping = size != INVALID_FILE_SIZE && high == 0
                         ? CreateFileMappingA(file, NULL, PAGE_READONLY, 0, 0, NULL)
                         : NULL;
    if (mapping != NULL) {
        const char *view = static_cast<const char *>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        if (view != NULL) {
            char shortPath[MAX_PATH];
            ShortNameToMatch(path, shortPath);
            replaces = RenameListReplaces(view, size, path, shortPath);
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    CloseHandle(file);
    return replaces;
}

bool RestartWillReplace(const char *path)
{
    if (session.platformKind == PlatformKind::WinMe)
        return RenameListWillReplace(path);
    return PendingListWillReplace(path);
}

bool ScheduleDeleteAtRestart(const char *existingPath, const char *newPath)
{
    if (MoveFileExA(existingPath, newPath, MOVEFILE_DELAY_UNTIL_REBOOT))
        return true;
    // Only the 9x family reads wininit.ini; on NT a refused request is a failure.
    return session.platformKind == PlatformKind::WinMe && AddToRenameList(existingPath, newPath);
}
