// Figures for a Windows 2000 run on the full simulated installation, split by step:
// file plan, services through the service manager, registry trees, service group edit, device
// sweeps. Printed, not asserted.
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

void BenchRun2000()
{
    const int rounds = 7;
    const char *const enumerators[] = {"SERENUM", "HID", "USB"};
    std::vector<double> files, services, trees, group, devices[3], total;
    std::vector<std::string> serviceNames;
    for (const std::wstring &name : PackageServices(Family::W2000))
        serviceNames.push_back(Narrow(name));
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        if (!InstallPackage(Family::W2000)) {
            printf("  simulated installation FAILED\n");
            return;
        }
        session = SessionState{};
        session.instance = GetModuleHandleA(NULL);
        session.platformKind = PlatformKind::Win2000;
        double t0 = Now();
        RunFilePlanNT();
        double ts = Now();
        for (const std::string &name : serviceNames)
            RemoveService(name.c_str());
        double t1 = Now();
        for (const std::wstring &tree : PackageTrees(Family::W2000))
            RemoveRegistryTree(HKEY_LOCAL_MACHINE, Narrow(tree).c_str());
        double t2 = Now();
        RemoveServiceGroup();
        double t3 = Now();
        double sweep[4] = {t3};
        for (int e = 0; e < 3; ++e) {
            RemoveTabletDevices(enumerators[e]);
            sweep[e + 1] = Now();
        }
        files.push_back(ts - t0);
        services.push_back(t1 - ts);
        trees.push_back(t2 - t1);
        group.push_back(t3 - t2);
        for (int e = 0; e < 3; ++e)
            devices[e].push_back(sweep[e + 1] - sweep[e]);
        total.push_back(sweep[3] - t0);
        for (const Item &item : ListPackage(Family::W2000))
            complete &= item.present == (item.fate == Fate::Kept);
    }
    printf("Windows 2000 run on the full simulated installation (median of %d rounds):\n", rounds);
    printf("  file step (plan and OEM sweep)   %8.2f ms\n", Median(files) * 1e3);
    printf("  services (%zu, service manager)   %8.2f ms\n", serviceNames.size(), Median(services) * 1e3);
    printf("  registry trees (5)               %8.2f ms\n", Median(trees) * 1e3);
    printf("  service group edit               %8.2f ms\n", Median(group) * 1e3);
    for (int e = 0; e < 3; ++e)
        printf("  device sweep %-8s            %8.2f ms\n", enumerators[e], Median(devices[e]) * 1e3);
    printf("  all steps                        %8.2f ms\n", Median(total) * 1e3);
    printf("  every round left the package removed and its neighbours kept: %s\n", complete ? "yes" : "NO");
}
