// The driver's commands on the registry and its security: the delayed moves an NT restart
// performs, and the refusals an administrator or Windows Me would meet.
#define UNICODE
#define _UNICODE
#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "tools/wine/driver.h"

static const wchar_t SessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";

// Lets everyone only read the Session Manager key, so that MoveFileEx cannot schedule a
// move at restart, as on Windows Me. Wine keeps the rule until its server ends. The driver
// must run as an NT version: in 9x mode the security calls do nothing.
static int RefuseDelay(const Args &)
{
    PSECURITY_DESCRIPTOR sd = NULL;
    HKEY key;
    bool set = false;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                             &sd, NULL)) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManager, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
        LocalFree(sd);
    }
    // Proven on a throwaway file: the request must now be refused.
    wchar_t probe[MAX_PATH];
    GetTempPathW(MAX_PATH - 16, probe);
    lstrcatW(probe, L"pdprobe.tmp");
    HANDLE h = CreateFileW(probe, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    bool refused = set && !MoveFileExW(probe, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    DeleteFileW(probe);
    Report("refusedelay %s", refused ? "done" : "failed");
    return refused ? 0 : 1;
}

// The delayed moves that NT's restart will perform, as hex of the stored multi-string.
static int Pending(const Args &)
{
    wchar_t list[8192];
    DWORD size = sizeof list;
    LONG r = RegGetValueW(HKEY_LOCAL_MACHINE, SessionManager, L"PendingFileRenameOperations",
                          RRF_RT_REG_MULTI_SZ, NULL, list, &size);
    std::string narrow;
    for (DWORD i = 0; r == ERROR_SUCCESS && i < size / sizeof(wchar_t); ++i)
        narrow += list[i] == 0 ? '\n' : static_cast<char>(list[i] < 128 ? list[i] : '?');
    Report("pending %s", Hex(narrow.data(), narrow.size()).c_str());
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

static const Command Commands[] = {
    {L"refusedelay", 1, RefuseDelay}, {L"pending", 1, Pending}, {L"lockkey", 2, LockKey},
};
const CommandTable RegistryCommands = {Commands, ARRAYSIZE(Commands)};
