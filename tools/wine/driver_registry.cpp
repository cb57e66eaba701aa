// The driver's commands on the registry and its security: the delayed moves an NT restart
// performs, the refusals an administrator or Windows Me would meet, and a service held open.
#define UNICODE
#define _UNICODE
#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "tools/wine/delay_refusal.h"
#include "tools/wine/driver.h"

// The delayed moves that NT's restart will perform, one a line.
static std::string PendingList()
{
    wchar_t list[8192];
    DWORD size = sizeof list;
    LONG r = RegGetValueW(HKEY_LOCAL_MACHINE, SessionManager, L"PendingFileRenameOperations",
                          RRF_RT_REG_MULTI_SZ, NULL, list, &size);
    std::string narrow;
    for (DWORD i = 0; r == ERROR_SUCCESS && i < size / sizeof(wchar_t); ++i)
        narrow += list[i] == 0 ? '\n' : static_cast<char>(list[i] < 128 ? list[i] : '?');
    return narrow;
}

// The rules a program started as a 9x version meets, and what its run changed in both lists
// of deletions at restart: NT's delayed moves and wininit.ini's [rename] section.
static DelayRule ruleFound;
static bool started9x = false;
static std::string pendingBefore, wininitBefore;

static std::string WininitBytes()
{
    wchar_t path[MAX_PATH];
    GetWindowsDirectoryW(path, MAX_PATH - 16);
    lstrcatW(path, L"\\wininit.ini");
    std::string bytes;
    HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return "<none>";
    char buffer[4096];
    DWORD read;
    while (ReadFile(f, buffer, sizeof buffer, &read, NULL) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(f);
    return bytes;
}

bool Begin9xRun()
{
    if (started9x)
        return true;
    started9x = true;
    bool refused = RefuseDelay(&ruleFound);
    pendingBefore = PendingList();
    wininitBefore = WininitBytes();
    return refused;
}

void End9xRun()
{
    if (!started9x)
        return;
    Report("ninexrun wininit=%s pending=%s", WininitBytes() == wininitBefore ? "same" : "changed",
           PendingList() == pendingBefore ? "same" : "changed");
    RestoreDelay(ruleFound);
}

// Refuses the delay until Wine's server ends (a Session Manager key the user may not change),
// whatever the driver's end would put back.
static int RefuseDelayCommand(const Args &)
{
    bool refused = RefuseDelay(NULL);
    ruleFound.saved = false;
    Report("refusedelay %s", refused ? "done" : "failed");
    return refused ? 0 : 1;
}

// The delayed moves that NT's restart will perform, as hex of the stored multi-string.
static int Pending(const Args &)
{
    std::string list = PendingList();
    Report("pending %s", Hex(list.data(), list.size()).c_str());
    return 0;
}

// Bars everyone from deleting a key of HKEY_LOCAL_MACHINE or writing to it, as a key the
// user may not change (its subkeys keep their own rules): lockkey:PATH. Like any rule set
// here, it lasts until Wine's server ends.
static int LockKey(const Args &a)
{
    PSECURITY_DESCRIPTOR sd = NULL;
    HKEY key;
    bool set = false;
    // Denied: DELETE, KEY_SET_VALUE and KEY_CREATE_SUB_KEY; the rest allowed.
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(D;;0x10006;;;WD)(A;;KA;;;WD)",
                                                             SDDL_REVISION_1, &sd, NULL)) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, a[1].c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
        LocalFree(sd);
    }
    Report("lockkey %s", set ? "done" : "failed");
    return set ? 0 : 1;
}

// Holds a service open until the driver ends, as a program that watches it does, so that the
// service manager keeps it marked when it is deleted; the answer tells whether the manager
// knows it (error 1060 when not): holdservice:NAME. Never stops the driver.
static int HoldService(const Args &a)
{
    SC_HANDLE manager = OpenSCManagerW(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceW(manager, a[1].c_str(), SERVICE_QUERY_STATUS) : NULL;
    DWORD error = service ? ERROR_SUCCESS : GetLastError();
    if (manager)
        CloseServiceHandle(manager);
    Report(service ? "holdservice done" : "holdservice failed error=%lu", error);
    return 0; // the service's handle is closed when the driver ends
}

static const Command Commands[] = {
    {L"refusedelay", 1, RefuseDelayCommand}, {L"pending", 1, Pending}, {L"lockkey", 2, LockKey},
    {L"holdservice", 2, HoldService},
};
const CommandTable RegistryCommands = {Commands, ARRAYSIZE(Commands)};
