// Figures for a Windows 2000 run on the full simulated installation, split by step:
// file plan, services through the service manager, registry trees, service group edit, device
// sweeps; the whole run against the setup copies in the INF folder; and runs with others' work
// queued for the restart against runs with none. Printed, not asserted.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "core/session.h"
#include "files/plans.h"
#include "registry/devices.h"
#include "registry/key_tree.h"
#include "registry/service_group.h"
#include "registry/services.h"
#include "bench/bench.h"
#include "tools/pdsim/package.h"

static double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static std::string Narrow(const std::wstring &w)
{
    char buffer[1024];
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, buffer, sizeof buffer, NULL, NULL);
    return n > 0 ? std::string(buffer) : std::string();
}

// One Windows 2000 run of every step on the installation in place; each step's seconds into
// steps: file plan, services, registry trees, group edit, the three device sweeps.
const int StepCount = 7;
static void TimedRun(const std::vector<std::string> &serviceNames, double steps[StepCount])
{
    static const char *const enumerators[] = {"SERENUM", "HID", "USB"};
    session = SessionState{};
    session.instance = GetModuleHandleA(NULL);
    session.platformKind = PlatformKind::Win2000;
    double t[StepCount + 1];
    t[0] = Now();
    RunFilePlanNT();
    t[1] = Now();
    for (const std::string &name : serviceNames)
        RemoveService(name.c_str());
    t[2] = Now();
    for (const std::wstring &tree : PackageTrees(Family::W2000))
        RemoveRegistryTree(HKEY_LOCAL_MACHINE, Narrow(tree).c_str());
    t[3] = Now();
    RemoveServiceGroup();
    t[4] = Now();
    for (int e = 0; e < 3; ++e) {
        RemoveTabletDevices(enumerators[e]);
        t[5 + e] = Now();
    }
    for (int i = 0; i < StepCount; ++i)
        steps[i] = t[i + 1] - t[i];
}

static std::vector<std::string> ServiceNames()
{
    std::vector<std::string> names;
    for (const std::wstring &name : PackageServices(Family::W2000))
        names.push_back(Narrow(name));
    return names;
}

static bool Removed()
{
    bool complete = true;
    for (const Item &item : ListPackage(Family::W2000))
        complete &= item.present == (item.fate == Fate::Kept);
    return complete;
}

void BenchRun2000()
{
    const int rounds = 7;
    static const char *const labels[StepCount] = {
        "file step (plan and OEM sweep)", "services (%zu, service manager)", "registry trees (5)",
        "service group edit", "device sweep SERENUM", "device sweep HID", "device sweep USB"};
    std::vector<double> steps[StepCount], total;
    std::vector<std::string> serviceNames = ServiceNames();
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        if (!InstallPackage(Family::W2000)) {
            printf("  simulated installation FAILED\n");
            return;
        }
        double took[StepCount], sum = 0;
        TimedRun(serviceNames, took);
        for (int i = 0; i < StepCount; ++i) {
            steps[i].push_back(took[i]);
            sum += took[i];
        }
        total.push_back(sum);
        complete &= Removed();
    }
    printf("Windows 2000 run on the full simulated installation (median of %d rounds):\n", rounds);
    for (int i = 0; i < StepCount; ++i) {
        char label[64];
        snprintf(label, sizeof label, labels[i], serviceNames.size());
        printf("  %-32s %8.2f ms\n", label, Median(steps[i]) * 1e3);
    }
    printf("  %-32s %8.2f ms\n", "all steps", Median(total) * 1e3);
    printf("  every round left the package removed and its neighbours kept: %s\n", complete ? "yes" : "NO");
}

static std::string WindowsDirectory()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\";
}

static std::string InfDirectory()
{
    return WindowsDirectory() + "inf\\";
}

static void WriteText(const std::string &path, const std::string &text)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD n;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, NULL);
    CloseHandle(h);
}

static void WriteInf(const std::string &path, const char *cls)
{
    WriteText(path, std::string("[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=") + cls + "\r\n");
}

static void ClearCopies(const std::string &inf)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((inf + "oem*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        DeleteFileA((inf + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
}

// The whole run against the setup copies in the INF folder: others' copies in the lowest
// numbers (the package's take the next ones), and one copy of the package numbered
// 2,000,000,000, which must cost no more than any other.
void BenchCopies2000()
{
    const int rounds = 7;
    const std::string inf = InfDirectory();
    std::vector<std::string> serviceNames = ServiceNames();
    printf("Windows 2000 run against the setup copies in the INF folder (median of %d rounds):\n", rounds);
    printf("  %-42s %10s %12s %20s\n", "copies", "all steps", "file step", "file step min..max");
    struct Row { int others; bool numbered2e9; } rows[] = {{0, false}, {0, true}, {100, false}, {300, false}, {1000, false}};
    bool complete = true;
    for (const Row &row : rows) {
        ClearCopies(inf);
        for (int n = 0; n < row.others; ++n)
            WriteInf(inf + "oem" + std::to_string(n) + ".inf", "Image");
        std::vector<double> total, files;
        for (int round = 0; round < rounds; ++round) {
            if (!InstallPackage(Family::W2000)) {
                printf("  simulated installation FAILED\n");
                return;
            }
            if (row.numbered2e9)
                WriteInf(inf + "oem2000000000.inf", "PEN");
            double took[StepCount], sum = 0;
            TimedRun(serviceNames, took);
            for (double t : took)
                sum += t;
            total.push_back(sum);
            files.push_back(took[0]);
            complete &= Removed() && GetFileAttributesA((inf + "oem2000000000.inf").c_str()) == INVALID_FILE_ATTRIBUTES;
        }
        char label[64];
        snprintf(label, sizeof label, "%d of another class%s", row.others, row.numbered2e9 ? ", one at 2,000,000,000" : "");
        printf("  %-42s %7.2f ms %9.2f ms %9.2f..%.2f ms\n", label, Median(total) * 1e3, Median(files) * 1e3,
               *std::min_element(files.begin(), files.end()) * 1e3,
               *std::max_element(files.begin(), files.end()) * 1e3);
    }
    ClearCopies(inf);
    printf("  every round removed the package's copies, wherever their number: %s\n", complete ? "yes" : "NO");
}

static void SetPendingList(const std::wstring &list)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (list.empty())
        RegDeleteValueW(key, L"PendingFileRenameOperations");
    else
        RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE *>(list.c_str()), static_cast<DWORD>((list.size() + 1) * 2));
    RegCloseKey(key);
}

// Others' work of 64 KiB waiting for the restart: NT's pairs (an update's replacements) and
// wininit.ini's lines, none of them naming a file of the package.
static std::wstring OthersPairs()
{
    std::wstring list;
    for (int n = 0; (list.size() + 1) * 2 < 64 * 1024 - 128; ++n) {
        std::wstring stem = L"\\??\\C:\\Program Files\\Other\\file" + std::to_wstring(n);
        list += stem + L".new" + L'\0' + L"!" + stem + L".dll" + L'\0';
    }
    return list;
}

static std::string OthersLines()
{
    std::string text = "[rename]\r\n";
    for (int n = 0; text.size() < 64 * 1024 - 64; ++n)
        text += "C:\\OTHER\\FILE" + std::to_string(n) + ".DLL=C:\\OTHER\\FILE" + std::to_string(n) + ".NEW\r\n";
    return text + "[boot]\r\nshell=Explorer.exe\r\n";
}

// A run with others' work queued for the restart against the same run with none: each file
// of the package is looked up in the queue before it is deleted.
void BenchQueues()
{
    const int rounds = 11;
    const std::wstring pairs = OthersPairs();
    const std::string lines = OthersLines(), ini = WindowsDirectory() + "wininit.ini";
    std::vector<std::string> serviceNames = ServiceNames();
    printf("Runs with 64 KiB of others' work queued for the restart (median of %d rounds):\n", rounds);
    std::vector<double> times[2][2]; // [queued][2000, Me]
    bool complete = true;
    // Each round runs both ways in turn, so that a drift of the machine touches both alike.
    for (int round = 0; round < rounds; ++round) {
        for (int queued = 0; queued < 2; ++queued) {
            SetPendingList(queued ? pairs : L"");
            if (!InstallPackage(Family::W2000))
                return;
            double took[StepCount], sum = 0;
            TimedRun(serviceNames, took);
            for (double t : took)
                sum += t;
            times[queued][0].push_back(sum);
            complete &= Removed();
            SetPendingList(L"");

            if (queued)
                WriteText(ini, lines);
            else
                DeleteFileA(ini.c_str());
            if (!InstallPackage(Family::Me))
                return;
            session = SessionState{};
            session.platformKind = PlatformKind::WinMe;
            double t0 = Now();
            RunFilePlan9x();
            times[queued][1].push_back(Now() - t0);
            complete &= session.rowCount == 5 && !session.rebootPending && !session.errorSeen;
        }
    }
    DeleteFileA(ini.c_str());
    const char *const runs[] = {"Windows 2000, all steps (NT's list)", "Windows Me, file plan, paced (wininit.ini)"};
    for (int i = 0; i < 2; ++i)
        printf("  %-44s none %8.2f ms, queued %8.2f ms: ratio %.3f (goal: within 1.10)\n", runs[i],
               Median(times[0][i]) * 1e3, Median(times[1][i]) * 1e3, Median(times[1][i]) / Median(times[0][i]));
    printf("  every run deleted the package's files now, with nothing scheduled: %s\n", complete ? "yes" : "NO");
}
