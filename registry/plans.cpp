#include "registry/plans.h"

#include <windows.h>

#include "core/recorder.h"
#include "core/session.h"
#include "core/text.h"
#include "registry/devices.h"
#include "registry/key_tree.h"
#include "registry/service_group.h"
#include "registry/services.h"

struct KeyItem {
    HKEY root;
    const char *path;
};

struct ValueItem {
    HKEY root;
    const char *path;
    const char *name;
};

// Tables end with an empty path.
static const KeyItem Keys9x[] = {
    {HKEY_LOCAL_MACHINE, "Enum\\SERENUM\\TVR0D42"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TavroTabletDriver"},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\PEN"},
    // The 9x class key carries the GUID in lower case, the NT one in upper case.
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\{6e2b4d90-1f7a-11d3-a5c8-0000d1e2f3a4}"},
    {NULL, ""},
};
static const ValueItem Values9x[] = {
    {NULL, "", ""},
};
static const KeyItem KeysNT[] = {
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VavadService"},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Tavro"},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Digclass"},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Class\\{6E2B4D90-1F7A-11D3-A5C8-0000D1E2F3A4}"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\オルベーンタブレットドライバ"},
    {NULL, ""},
};

// The services whose keys KeysNT names, as the service manager knows them.
static const char *const ServicesNT[] = {"VavadService", "Tavro", "Digclass", ""};

static const char *const TabletEnumerators[] = {"SERENUM", "HID", "USB", ""};

static const int TextCapacity = 1024;

static void FlushRoots()
{
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegFlushKey(HKEY_CURRENT_USER);
}

// "HLM\" or "HCU\", the key path, and for a value "\" and its name.
static void ItemText(char *text, HKEY root, const char *path, const char *valueName)
{
    const char *prefix = root == HKEY_CURRENT_USER ? "HCU\\" : "HLM\\";
    if (valueName == NULL) {
        ConcatPath(text, TextCapacity, prefix, path);
        return;
    }
    char key[TextCapacity];
    ConcatPath(key, sizeof key, prefix, path);
    JoinPath(text, TextCapacity, key, valueName);
}

bool RunRegistryPlan9x()
{
    char text[TextCapacity];
    FlushRoots();
    for (const KeyItem *item = Keys9x; *item->path != '\0'; ++item) {
        Outcome outcome = RemoveRegistryTree(item->root, item->path);
        ItemText(text, item->root, item->path, NULL);
        RecordOutcome(text, outcome);
    }
    for (const ValueItem *item = Values9x; *item->path != '\0'; ++item) {
        Outcome outcome = RemoveValue(item->root, item->path, item->name);
        ItemText(text, item->root, item->path, item->name);
        RecordOutcome(text, outcome);
    }
    FlushRoots();
    return true;
}

bool RunRegistryPlanNT()
{
    FlushRoots();
    // Through the manager first: it forgets a service no other way before the restart, and
    // deletes the key of one it removes. The key step then finds only the keys of services
    // the manager keeps or never knew.
    for (const char *const *name = ServicesNT; **name != '\0'; ++name)
        NoteOutcome(RemoveService(*name));
    for (const KeyItem *item = KeysNT; *item->path != '\0'; ++item)
        NoteOutcome(RemoveRegistryTree(item->root, item->path));
    NoteOutcome(RemoveServiceGroup());
    if (session.platformKind == PlatformKind::Win2000) {
        for (const char *const *enumerator = TabletEnumerators; **enumerator != '\0'; ++enumerator)
            NoteOutcome(RemoveTabletDevices(*enumerator));
    }
    FlushRoots();
    return true;
}
