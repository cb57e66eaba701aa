#include "registry/service_group.h"

#include <windows.h>

#include "registry/group_list.h"

static const char GroupOrderKey[] = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";
static const char ListValue[] = "List";
static const char PenGroup[] = "Pen Class";
static const DWORD ListCapacity = 1024;

bool RemoveServiceGroup()
{
    unsigned char in[ListCapacity], out[ListCapacity];
    ZeroMemory(in, sizeof in);
    ZeroMemory(out, sizeof out);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupOrderKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    bool result = true;
    // The stored type is not examined: the bytes are walked as a list whatever it says.
    DWORD dataSize = ListCapacity;
    if (RegQueryValueExA(key, ListValue, NULL, NULL, in, &dataSize) != ERROR_SUCCESS) {
        result = false;
    } else {
        size_t storeLength;
        switch (DropGroupName(in, sizeof in, dataSize, PenGroup, out, &storeLength)) {
        case GroupEdit::Unchanged:
            break;
        case GroupEdit::Dropped:
            result = RegSetValueExA(key, ListValue, 0, REG_MULTI_SZ, out,
                                    static_cast<DWORD>(storeLength)) == ERROR_SUCCESS;
            break;
        case GroupEdit::Unterminated:
            result = false; // a list we cannot read to its end is left as it is
            break;
        }
    }
    RegCloseKey(key);
    return result;
}
