#include "registry/devices.h"

#include <windows.h>
#include <setupapi.h>

#include "core/library.h"
#include "registry/device_match.h"

static const char *const DeviceApiNames[] = {
    "SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo", "SetupDiGetDeviceInstanceIdA",
    "SetupDiCallClassInstaller", "SetupDiDestroyDeviceInfoList",
};
static_assert(sizeof(DeviceApi) == sizeof DeviceApiNames, "one name per function");

static_assert(sizeof(void *) != 4 || sizeof(SP_DEVINFO_DATA) == 28,
              "the element record's size on 32-bit Windows");

bool RemoveMatchingDevices(const DeviceApi &api, HDEVINFO list)
{
    bool allRemoved = true;
    char instanceId[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device;
        ZeroMemory(&device, sizeof device);
        device.cbSize = sizeof device;
        if (!api.enumDeviceInfo(list, index, &device))
            return allRemoved;
        DWORD required;
        if (!api.getInstanceId(list, &device, instanceId, sizeof instanceId, &required))
            continue;
        if (IsTabletInstanceId(instanceId) && !api.callClassInstaller(DIF_REMOVE, list, &device))
            allRemoved = false;
    }
}

Outcome RemoveTabletDevices(const char *enumerator)
{
    // The setup API is part of Windows 2000: without it the devices stay unchecked. A list
    // that cannot be built is no error: a system that never had such a device may answer so.
    Outcome outcome = Outcome::Error;
    DeviceApi api;
    HDEVINFO list = INVALID_HANDLE_VALUE;
    HMODULE library = LoadFunctions("setupapi.dll", DeviceApiNames, ARRAYSIZE(DeviceApiNames), &api);
    if (library == NULL)
        goto done;
    // Every setup class, and without DIGCF_PRESENT also the devices not attached.
    list = api.getClassDevs(NULL, enumerator, NULL, DIGCF_ALLCLASSES);
    if (list == INVALID_HANDLE_VALUE)
        outcome = Outcome::NoKey;
    else
        outcome = RemoveMatchingDevices(api, list) ? Outcome::Deleted : Outcome::Error;
done:
    if (list != INVALID_HANDLE_VALUE)
        api.destroyList(list);
    if (library != NULL)
        FreeLibrary(library);
    return outcome;
}
