#include "registry/devices.h"

#include <windows.h>
#include <setupapi.h>

#include "registry/device_match.h"
#include "run/library.h"

// The device functions are looked up per call, not bound at load time.
struct DeviceApi {
    HDEVINFO (WINAPI *getClassDevs)(const GUID *, PCSTR, HWND, DWORD);
    BOOL (WINAPI *enumDeviceInfo)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
    BOOL (WINAPI *getInstanceId)(HDEVINFO, PSP_DEVINFO_DATA, PSTR, DWORD, PDWORD);
    BOOL (WINAPI *callClassInstaller)(DI_FUNCTION, HDEVINFO, PSP_DEVINFO_DATA);
    BOOL (WINAPI *destroyList)(HDEVINFO);
};
static const char *const DeviceApiNames[] = {
    "SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo", "SetupDiGetDeviceInstanceIdA",
    "SetupDiCallClassInstaller", "SetupDiDestroyDeviceInfoList",
};
static_assert(sizeof(DeviceApi) == sizeof DeviceApiNames, "one name per function");

static_assert(sizeof(void *) != 4 || sizeof(SP_DEVINFO_DATA) == 28,
              "the element record's size on 32-bit Windows");

static void RemoveMatchingDevices(const DeviceApi &api, HDEVINFO list)
{
    char instanceId[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device;
        ZeroMemory(&device, sizeof device);
        device.cbSize = sizeof device;
        if (!api.enumDeviceInfo(list, index, &device))
            return;
        DWORD required;
        if (!api.getInstanceId(list, &device, instanceId, sizeof instanceId, &required))
            continue;
        if (IsTabletInstanceId(instanceId))
            api.callClassInstaller(DIF_REMOVE, list, &device);
    }
}

bool RemoveTabletDevices(const char *enumerator)
{
    bool walked = false;
    DeviceApi api;
    HDEVINFO list = INVALID_HANDLE_VALUE;
    HMODULE library = LoadLibraryA("setupapi.dll");
    if (library == NULL ||
        !LookupFunctions(library, DeviceApiNames, ARRAYSIZE(DeviceApiNames), &api))
        goto done;
    // Every setup class, and without DIGCF_PRESENT also the devices not attached.
    list = api.getClassDevs(NULL, enumerator, NULL, DIGCF_ALLCLASSES);
    if (list == INVALID_HANDLE_VALUE)
        goto done;
    RemoveMatchingDevices(api, list);
    walked = true;
done:
    if (list != INVALID_HANDLE_VALUE)
        api.destroyList(list);
    if (library != NULL)
        FreeLibrary(library);
    return walked;
}
