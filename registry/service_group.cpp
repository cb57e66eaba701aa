#include "registry/service_group.h"

#include <windows.h>

#include "registry/group_list.h"
#include "registry/key_tree.h"

static const char GroupOrderKey[] = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";
static const char ListValue[] = "List";
static const char PenGroup[] = "Pen Class";
static const DWORD ListCapacity = 1024;

// The list read, edited and, when the name was in it, written back through the open key.
static Outcome EditList(HKEY key, bool writable)
{
    unsigned char in[ListCapacity], out[ListCapacity];
    ZeroMemory(in, sizeof in);
    ZeroMemory(out, sizeof out);
    // The stored type is not examined: the bytes are walked as a list whatever it says.
    DWORD dataSize = ListCapacity;
    LONG error = RegQueryValueExA(key, ListValue, NULL, NULL, in, &dataSize);
    if (IsAbsentKeyError(error))
        return Outcome::NoKey;
    if (error != ERROR_SUCCESS)
        return Outcome::NoValue; // too long to read: the system's order is left as it is
    size_t storeLength;
    switch (DropGroupName(in, sizeof in, dataSize, PenGroup, out, &storeLength)) {
    case GroupEdit::Dropped:
        if (writable && RegSetValueExA(key, ListValue, 0, REG_MULTI_SZ, out,
                                       static_cast<DWORD>(storeLength)) == ERROR_SUCCESS)
            return Outcome::Deleted;
        return Outcome::Error;
    case GroupEdit::Unterminated: // a list we cannot read to its end is left as it is
    case GroupEdit::Unchanged:
        break;
    }
    return Outcome::NoValue;
}

Outcome RemoveServiceGroup()
{
    HKEY key;
    bool writable = true;
    LONG error = RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupOrderKey, 0, KEY_READ | KEY_SET_VALUE, &key);
    if (error == ERROR_ACCESS_DENIED) {
        // Without the right to write, the list is still read: only its name makes a failure.
        writable = false;
        error = RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupOrderKey, 0, KEY_READ, &key);
    }
    if (error != ERROR_SUCCESS)
        return IsAbsentKeyError(error) ? Outcome::NoKey : Outcome::Error;
    Outcome outcome = EditList(key, writable);
    RegCloseKey(key);
    return outcome;
}
