#ifndef PDCLEAN_REGISTRY_DEVICES_H
#define PDCLEAN_REGISTRY_DEVICES_H

#include <windows.h>
#include <setupapi.h>

#include "core/kinds.h"

// Removes every device node under the enumerator whose ID marks it as the tablet's,
// attached or not. Deleted when the list was walked to its end with every removal done;
// DeleteAtRestart when Windows keeps a node until its next start; Error when a removal failed
// or the setup API is not to be had (it outranks a restart); NoKey when the list is not.
Outcome RemoveTabletDevices(const char *enumerator);

// The device functions, looked up per call rather than bound at load time.
struct DeviceApi {
    HDEVINFO (WINAPI *getClassDevs)(const GUID *, PCSTR, HWND, DWORD);
    BOOL (WINAPI *enumDeviceInfo)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
    BOOL (WINAPI *getInstanceId)(HDEVINFO, PSP_DEVINFO_DATA, PSTR, DWORD, PDWORD);
    BOOL (WINAPI *callClassInstaller)(DI_FUNCTION, HDEVINFO, PSP_DEVINFO_DATA);
    BOOL (WINAPI *destroyList)(HDEVINFO);
    BOOL (WINAPI *getInstallParams)(HDEVINFO, PSP_DEVINFO_DATA, PSP_DEVINSTALL_PARAMS_A);
};

// The walk of one list: DIF_REMOVE for each tablet node; the outcome as above.
// Exported so that the tests can hand it stand-ins for the setup API.
Outcome RemoveMatchingDevices(const DeviceApi &api, HDEVINFO list);

#endif
