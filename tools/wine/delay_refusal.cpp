#include "tools/wine/delay_refusal.h"

#include <sddl.h>

const wchar_t SessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";

// KEY_READ with WRITE_DAC: the rule can be put back, no value can be written.
static const wchar_t ReadOnly[] = L"D:P(A;;0x60019;;;WD)";

static bool SetRule(PSECURITY_DESCRIPTOR rule, DelayRule *found)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManager, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS)
        return false;
    bool ok = true;
    if (found) {
        DWORD size = sizeof found->descriptor;
        found->saved = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, found->descriptor,
                                         &size) == ERROR_SUCCESS;
        ok = found->saved;
    }
    ok = ok && RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rule) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool RefuseDelay(DelayRule *found)
{
    PSECURITY_DESCRIPTOR rule = NULL;
    if (found)
        found->saved = false;
    bool set = ConvertStringSecurityDescriptorToSecurityDescriptorW(ReadOnly, SDDL_REVISION_1,
                                                                    &rule, NULL) &&
               SetRule(rule, found);
    LocalFree(rule);
    // Proven on a throwaway file: the request must now be refused.
    wchar_t probe[MAX_PATH];
    GetTempPathW(MAX_PATH - 16, probe);
    lstrcatW(probe, L"pdprobe.tmp");
    HANDLE h = CreateFileW(probe, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    bool refused = set && !MoveFileExW(probe, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    DeleteFileW(probe);
    return refused;
}

bool RestoreDelay(const DelayRule &found)
{
    return found.saved && SetRule(const_cast<BYTE *>(found.descriptor), NULL);
}
