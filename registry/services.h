// The package's services on Windows 2000. The service manager keeps a database of its own,
// read from the registry when Windows starts and changed afterwards only through its
// functions: a service whose key alone is deleted stays registered until the restart.
#ifndef PDCLEAN_REGISTRY_SERVICES_H
#define PDCLEAN_REGISTRY_SERVICES_H

#include <windows.h>

#include "core/kinds.h"

// Deletes one service through the service manager: NoKey when the manager does not know it,
// Deleted when it is gone now, DeleteAtRestart when the manager keeps it marked until it
// stops (running, or held open by a program), Error when the deletion was refused or the
// manager could not be opened.
Outcome RemoveService(const char *name);

// The service manager's functions, looked up per call: Windows 95 has none of them, and the
// program must still load there to show its refusal.
struct ServiceApi {
    SC_HANDLE (WINAPI *openManager)(LPCSTR, LPCSTR, DWORD);
    SC_HANDLE (WINAPI *openService)(SC_HANDLE, LPCSTR, DWORD);
    BOOL (WINAPI *deleteService)(SC_HANDLE);
    BOOL (WINAPI *closeHandle)(SC_HANDLE);
};

// The deletion as above, through the given functions, so that the tests can hand it stand-ins.
Outcome RemoveServiceWith(const ServiceApi &api, const char *name);

#endif
