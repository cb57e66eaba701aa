#include "registry/devices.h"

#include <windows.h>
#include <setupapi.h>

#include "core/library.h"
#include "registry/device_match.h"

static const char *const DeviceApiNames[] = {
    "SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo", "SetupDiGetDeviceInstanceIdA",
    "SetupDiCallClassInstaller", "SetupDiDestroyDeviceInfoList", "SetupDiGetDeviceInstallParamsA",
};
static_assert(sizeof(DeviceApi) == sizeof DeviceApiNames, "one name per function");

static_assert(sizeof(void *) != 4 || sizeof(SP_DEVINFO_DATA) == 28,
              "the element record's size on 32-bit Windows");
static_assert(sizeof(void *) != 4 || sizeof(SP_DEVINSTALL_PARAMS_A) == 296,
              "the install parameters' size on 32-bit Windows");

Outcome RemoveMatchingDevices(const DeviceApi &api, HDEVINFO list)
{
    Outcome outcome = Outcome::Deleted;
    char instanceId[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device;
        ZeroMemory(&device, sizeof device);
        device.cbSize = sizeof device;
        if (!api.enumDeviceInfo(list, index, &device))
            return outcome;
        DWORD required;
        if (!api.getInstanceId(list, &device, instanceId, sizeof instanceId, &required) ||
            !IsTabletInstanceId(instanceId))
            continue;
        if (!api.callClassInstaller(DIF_REMOVE, list, &device)) {
            outcome = Outcome::Error;
            continue;
        }
        // A node that cannot stop now stays until the next start, and only these flags say so.
        // Parameters that cannot be read say nothing: the node is taken as gone. Once a removal
        // was refused or asked for the restart, no other read can change the outcome.
        SP_DEVINSTALL_PARAMS_A params;
        params.cbSize = sizeof params;
        if (outcome == Outcome::Deleted && api.getInstallParams(list, &device, &params) &&
            (params.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART)))
            outcome = Outcome::DeleteAtRestart;
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
        outcome = RemoveMatchingDevices(api, list);
done:
    if (list != INVALID_HANDLE_VALUE)
        api.destroyList(list);
    if (library != NULL)
        FreeLibrary(library);
    return outcome;
}
