#include "registry/devices.h"

#include <windows.h>
#include <setupapi.h>

#include "registry/device_match.h"

// The device functions are looked up per call, not bound at load time.
typedef HDEVINFO (WINAPI *GetClassDevsFn)(const GUID *, PCSTR, HWND, DWORD);
typedef BOOL (WINAPI *EnumDeviceInfoFn)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
typedef BOOL (WINAPI *GetDeviceInstanceIdFn)(HDEVINFO, PSP_DEVINFO_DATA, PSTR, DWORD, PDWORD);
typedef BOOL (WINAPI *CallClassInstallerFn)(DI_FUNCTION, HDEVINFO, PSP_DEVINFO_DATA);
typedef BOOL (WINAPI *DestroyDeviceInfoListFn)(HDEVINFO);

static_assert(sizeof(void *) != 4 || sizeof(SP_DEVINFO_DATA) == 28,
              "the element record's size on 32-bit Windows");

// GetProcAddress answers with a generic function pointer; each is cast to its own type.
template <typename Fn> static Fn Lookup(HMODULE library, const char *name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

bool RemoveTabletDevices(const char *enumerator)
{
    HMODULE library = LoadLibraryA("setupapi.dll");
    if (library == NULL)
        return false;
    GetClassDevsFn getClassDevs = Lookup<GetClassDevsFn>(library, "SetupDiGetClassDevsA");
    EnumDeviceInfoFn enumDeviceInfo = Lookup<EnumDeviceInfoFn>(library, "SetupDiEnumDeviceInfo");
    GetDeviceInstanceIdFn getInstanceId =
        Lookup<GetDeviceInstanceIdFn>(library, "SetupDiGetDeviceInstanceIdA");
    CallClassInstallerFn callClassInstaller =
        Lookup<CallClassInstallerFn>(library, "SetupDiCallClassInstaller");
    DestroyDeviceInfoListFn destroyList =
        Lookup<DestroyDeviceInfoListFn>(library, "SetupDiDestroyDeviceInfoList");
    if (!getClassDevs || !enumDeviceInfo || !getInstanceId || !callClassInstaller || !destroyList) {
        FreeLibrary(library);
        return false;
    }
    // Every setup class, and without DIGCF_PRESENT also the devices not attached.
    HDEVINFO list = getClassDevs(NULL, enumerator, NULL, DIGCF_ALLCLASSES);
    if (list == INVALID_HANDLE_VALUE) {
        FreeLibrary(library);
        return false;
    }
    char instanceId[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device;
        ZeroMemory(&device, sizeof device);
        device.cbSize = sizeof device;
        if (!enumDeviceInfo(list, index, &device))
            break;
        DWORD required;
        if (!getInstanceId(list, &device, instanceId, sizeof instanceId, &required))
            continue;
        if (IsTabletInstanceId(instanceId))
            callClassInstaller(DIF_REMOVE, list, &device);
    }
    destroyList(list);
    FreeLibrary(library);
    return true;
}
