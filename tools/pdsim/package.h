// A simulated installation of the tablet driver package in a Wine prefix: what the
// package's installer would have left on Windows Me or Windows 2000, next to things of
// the system and of other vendors that an uninstaller must leave alone.
#ifndef PDSIM_PACKAGE_H
#define PDSIM_PACKAGE_H

#include <string>
#include <vector>

enum class Family { Me, W2000 };

enum class Fate { Removed, Kept };

struct Item {
    std::string kind;  // file, key, group, device, service
    std::string name;  // UTF-8, as a user reads it
    Fate fate;
    bool present;
    std::string digest;  // of a file's bytes or a key's whole tree; "-" when absent or none
};

// Puts the package in place; false (with a message on stderr) when anything failed.
bool InstallPackage(Family family);

// Each item of the package and of its neighbours, and whether it is there now.
std::vector<Item> ListPackage(Family family);

// Takes one item of the listing, named as listed, away again: a partial installation.
bool DropItem(Family family, const std::string &name);

// The bytes of the service group order as stored now ("" when unreadable), and the bytes
// the simulated installation wrote there.
std::string GroupListBytes();
std::string InstalledGroupList();

// Registry keys named by the package's registry trees, under HKEY_LOCAL_MACHINE.
std::vector<std::wstring> PackageTrees(Family family);

// The services of the package that an uninstall must take away, by name.
std::vector<std::wstring> PackageServices(Family family);

// Whether a reinstall could register the package's service program again: creates it
// through the service manager and takes it away again. False (with a message) when refused.
bool ServiceReregisters();

// A subkey whose name is longer than any registry enumeration of 255 characters reads.
bool AddLongSubkey(const std::wstring &parent);
bool DeleteLongSubkey(const std::wstring &parent);

#endif
