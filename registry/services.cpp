#include "registry/services.h"

#include <windows.h>

#include "core/library.h"

static const char *const ServiceApiNames[] = {
    "OpenSCManagerA", "OpenServiceA", "DeleteService", "CloseServiceHandle",
};
static_assert(sizeof(ServiceApi) == sizeof ServiceApiNames, "one name per function");

Outcome RemoveServiceWith(const ServiceApi &api, const char *name)
{
    SC_HANDLE manager = api.openManager(NULL, NULL, SC_MANAGER_CONNECT);
    if (manager == NULL)
        return Outcome::Error;
    Outcome outcome = Outcome::Error;
    DWORD error = ERROR_SUCCESS;
    SC_HANDLE service = api.openService(manager, name, DELETE);
    if (service == NULL) {
        error = GetLastError();
    } else {
        if (!api.deleteService(service))
            error = GetLastError();
        api.closeHandle(service);
    }
    if (error == ERROR_SERVICE_DOES_NOT_EXIST) {
        outcome = Outcome::NoKey;
    } else if (error == ERROR_SUCCESS || error == ERROR_SERVICE_MARKED_FOR_DELETE) {
        // The record goes with the last handle to it, which may be ours: only asking again
        // tells whether another holds it (the service running, a program with it open).
        service = api.openService(manager, name, SERVICE_QUERY_STATUS);
        outcome = service == NULL && GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST
                      ? Outcome::Deleted
                      : Outcome::DeleteAtRestart;
        if (service != NULL)
            api.closeHandle(service);
    }
    api.closeHandle(manager);
    return outcome;
}

Outcome RemoveService(const char *name)
{
    ServiceApi api;
    HMODULE library = LoadFunctions("advapi32.dll", ServiceApiNames, ARRAYSIZE(ServiceApiNames), &api);
    if (library == NULL)
        return Outcome::Error;
    Outcome outcome = RemoveServiceWith(api, name);
    FreeLibrary(library);
    return outcome;
}
