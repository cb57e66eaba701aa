// A class installer that answers DIF_REMOVE as Windows 2000 does for a device it cannot stop
// now (the tablet plugged in, its driver busy): the node stays until the next start, and the
// element's install parameters ask for that restart. Wine's own removal never asks.
#include <windows.h>
#include <setupapi.h>

extern "C" __declspec(dllexport) DWORD WINAPI HeldDeviceInstaller(DI_FUNCTION function, HDEVINFO list,
                                                                  PSP_DEVINFO_DATA device)
{
    if (function != DIF_REMOVE)
        return ERROR_DI_DO_DEFAULT;
    SP_DEVINSTALL_PARAMS_A params;
    ZeroMemory(&params, sizeof params);
    params.cbSize = sizeof params;
    if (!SetupDiGetDeviceInstallParamsA(list, device, &params))
        return GetLastError();
    params.Flags |= DI_NEEDREBOOT;
    return SetupDiSetDeviceInstallParamsA(list, device, &params) ? NO_ERROR : GetLastError();
}
