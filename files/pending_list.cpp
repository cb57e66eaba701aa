#include "files/pending_list.h"

#include <windows.h>

#include "files/rename_list.h"
#include "files/restart.h"

// The list is read whole onto the stack: the one frame above a page, so this file alone is
// built with stack probes. A list larger than this is taken as unreadable, as nothing we know
// is queued then; the deletion goes on as it would without the look.
static const DWORD ListCapacity = 128 * 1024;

bool PendingListWillReplace(const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char list[ListCapacity];
    DWORD size = ListCapacity;
    LONG r = RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL,
                              reinterpret_cast<BYTE *>(list), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS)
        return false;
    char shortPath[MAX_PATH];
    ShortNameToMatch(path, shortPath);
    return PendingListReplaces(list, size, path, shortPath);
}
