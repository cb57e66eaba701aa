// Figures, not a test: each routine that acquires handles, called 1,000 times on a small
// fixture, with the process's handle count before and after; and whether setupapi.dll,
// which this program does not link, is still loaded once the sweeps have run.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "core/session.h"
#include "files/plans.h"
#include "files/primitives.h"
#include "files/restart.h"
#include "files/tree.h"
#include "registry/devices.h"
#include "registry/key_tree.h"
#include "registry/service_group.h"
#include "registry/services.h"

namespace {

const int Calls = 1000;
const char Dir[] = "C:\\pdhandles";
const char KeyPath[] = "Software\\PdcleanHandles";
const char GroupKey[] = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";

void Touch(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(h);
}

// Wine answers GetProcessHandleCount with 0; there the handles are counted one by one.
const char *countedBy = "GetProcessHandleCount";

DWORD Handles()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return count;
    countedBy = "GetHandleInformation over the first 16384 handle values";
    count = 0;
    for (ULONG_PTR value = 4; value < 4 * 16384; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// Runs the routine Calls times, each after its fixture; prints the counts around them.
void Measure(const char *name, void (*fixture)(int), void (*routine)(int))
{
    fixture(0);
    routine(0); // the first call may load what stays for the process (the code pages)
    DWORD before = Handles();
    for (int i = 1; i <= Calls; ++i) {
        fixture(i);
        routine(i);
    }
    DWORD after = Handles();
    printf("  %-28s %5lu -> %5lu  (%+ld)\n", name, before, after,
           static_cast<long>(after) - static_cast<long>(before));
}

std::string FileOf(int i)
{
    return std::string(Dir) + "\\f" + std::to_string(i) + ".dat";
}

void NoFixture(int) {}
void FileFixture(int i) { Touch(FileOf(i)); }
void DeleteFile_(int i) { DeleteOrSchedule(FileOf(i).c_str()); }
void Schedule(int i) { ScheduleDeleteAtRestart(FileOf(i).c_str(), NULL); }
void RenameList(int i) { AddToRenameList(FileOf(i).c_str(), NULL); }
// As Windows Me: the file is looked up in wininit.ini, which the row before has filled.
void DeleteFileMe(int i)
{
    session.platformKind = PlatformKind::WinMe;
    DeleteOrSchedule(FileOf(i).c_str());
    session.platformKind = PlatformKind::Win2000;
}

void TreeFixture(int)
{
    std::string root = std::string(Dir) + "\\tree";
    CreateDirectoryA(root.c_str(), NULL);
    CreateDirectoryA((root + "\\sub").c_str(), NULL);
    Touch(root + "\\sub\\a.dat");
}
void Tree(int) { RemoveDirectoryTree((std::string(Dir) + "\\tree").c_str()); }

void KeyFixture(int)
{
    HKEY key;
    std::string path = std::string(KeyPath) + "\\a\\b";
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegCloseKey(key);
}
void KeyTree(int) { RemoveRegistryTree(HKEY_CURRENT_USER, KeyPath); }

void GroupFixture(int)
{
    static const char list[] = "Base\0Pen Class\0TDI\0";
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, GroupKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegSetValueExA(key, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>(list), sizeof list);
    RegCloseKey(key);
}
void Group(int) { RemoveServiceGroup(); }

const char ServiceName[] = "PdcleanHandles";

void ServiceFixture(int)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CREATE_SERVICE);
    SC_HANDLE service = CreateServiceA(manager, ServiceName, ServiceName, SERVICE_ALL_ACCESS,
                                       SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       "System32\\DRIVERS\\pdhandles.sys", NULL, NULL, NULL, NULL, NULL);
    if (service != NULL)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
}
void Service(int) { RemoveService(ServiceName); }
void Devices(int) { RemoveTabletDevices("SERENUM"); }

// The counting's own check: a key opened and never closed must show as one handle a call.
void LeakKey(int)
{
    HKEY key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key);
}

std::string infDirectory;
// A copy of the package above a gap, which the sweep opens, lists and deletes.
void OemFixture(int)
{
    static const char text[] = "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=PEN\r\n";
    HANDLE h = CreateFileA((infDirectory + "oem7.inf").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD n;
    WriteFile(h, text, sizeof text - 1, &n, NULL);
    CloseHandle(h);
}
void OemSweep(int) { SweepOemInfs(infDirectory.c_str()); }

}  // namespace

int main()
{
    session.instance = GetModuleHandleA(NULL);
    session.platformKind = PlatformKind::Win2000;
    CreateDirectoryA(Dir, NULL);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    infDirectory = std::string(windows) + "\\inf\\";
    std::string ini = std::string(windows) + "\\wininit.ini";
    std::string savedIni;
    Handles();
    printf("Handles of the process, %d calls of each routine (%s; goal: +0):\n", Calls,
           countedBy);
    Measure("DeleteOrSchedule (delete)", FileFixture, DeleteFile_);
    Measure("ScheduleDeleteAtRestart", FileFixture, Schedule);
    Measure("AddToRenameList (wininit)", FileFixture, RenameList);
    Measure("DeleteOrSchedule (Me)", FileFixture, DeleteFileMe);
    Measure("RemoveDirectoryTree", TreeFixture, Tree);
    Measure("RemoveRegistryTree", KeyFixture, KeyTree);
    Measure("RemoveServiceGroup", GroupFixture, Group);
    Measure("RemoveService", ServiceFixture, Service);
    Measure("RemoveTabletDevices", NoFixture, Devices);
    Measure("SweepOemInfs", OemFixture, OemSweep);
    printf("setupapi.dll loaded after the sweeps: %s (goal: no)\n",
           GetModuleHandleA("setupapi.dll") ? "yes" : "no");
    Measure("control: a key left open", NoFixture, LeakKey);
    DeleteFileA(ini.c_str());
    RemoveDirectoryTree(Dir);
    return 0;
}
