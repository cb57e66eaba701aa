// pdsim: puts a simulated installation of the tablet driver package into the Wine prefix it
// runs in, and lists what of it is there. Used by the tests, the demo and the benchmarks.
//   pdsim install me|2000      the package as its installer leaves it on that system
//   pdsim list me|2000         one line per item: present|absent, removed|kept, kind, name,
//                              and a digest of a file's bytes or a key's tree ("-": none)
//   pdsim drop me|2000 NAME... takes the items so listed away again
//   pdsim grouplist            the service group order now, and as installed, in hex
//   pdsim reregister           registers the package's service program as a reinstall would,
//                              then takes it away again; fails when the manager refuses
//   pdsim longkey <key>        adds a subkey with a 256-character name under HKLM\<key>
//   pdsim droplongkey <key>    removes it again
#include <windows.h>

#include <stdio.h>
#include <string>

#include "package.h"

static std::string Hex(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s.empty() ? "-" : s;
}

static bool ParseFamily(const wchar_t *word, Family *family)
{
    if (lstrcmpW(word, L"me") == 0)
        *family = Family::Me;
    else if (lstrcmpW(word, L"2000") == 0)
        *family = Family::W2000;
    else
        return false;
    return true;
}

int wmain(int argc, wchar_t **argv)
{
    Family family;
    if (argc == 3 && lstrcmpW(argv[1], L"install") == 0 && ParseFamily(argv[2], &family)) {
        return InstallPackage(family) ? 0 : 1;
    }
    if (argc == 3 && lstrcmpW(argv[1], L"list") == 0 && ParseFamily(argv[2], &family)) {
        for (const Item &item : ListPackage(family))
            printf("%s\t%s\t%s\t%s\t%s\n", item.present ? "present" : "absent",
                   item.fate == Fate::Removed ? "removed" : "kept", item.kind.c_str(), item.name.c_str(),
                   item.digest.c_str());
        return 0;
    }
    if (argc >= 3 && lstrcmpW(argv[1], L"drop") == 0 && ParseFamily(argv[2], &family)) {
        bool ok = true;
        for (int i = 3; i < argc; ++i) {
            char name[1024];
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, name, sizeof name, nullptr, nullptr);
            ok &= DropItem(family, name);
        }
        return ok ? 0 : 1;
    }
    if (argc == 2 && lstrcmpW(argv[1], L"grouplist") == 0) {
        printf("now\t%s\ninstalled\t%s\n", Hex(GroupListBytes()).c_str(), Hex(InstalledGroupList()).c_str());
        return 0;
    }
    if (argc == 2 && lstrcmpW(argv[1], L"reregister") == 0)
        return ServiceReregisters() ? 0 : 1;
    if (argc == 3 && lstrcmpW(argv[1], L"longkey") == 0)
        return AddLongSubkey(argv[2]) ? 0 : 1;
    if (argc == 3 && lstrcmpW(argv[1], L"droplongkey") == 0)
        return DeleteLongSubkey(argv[2]) ? 0 : 1;
    fprintf(stderr, "usage: pdsim install|list|drop me|2000, grouplist, reregister, longkey|droplongkey <key>\n");
    return 2;
}
