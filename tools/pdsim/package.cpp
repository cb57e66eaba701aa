#include "package.h"

#include <windows.h>
#include <setupapi.h>

#include <stdio.h>

std::string GroupListBytes();

namespace {

struct FileEntry {
    const wchar_t *base;  // L"S" system directory, L"W" Windows directory
    const wchar_t *path;
    Fate fate;
};

const FileEntry FilesMe[] = {
    {L"S", L"vavad.vxd", Fate::Removed},
    {L"S", L"styinst.dll", Fate::Removed},
    {L"S", L"styins16.dll", Fate::Removed},
    {L"W", L"inf\\other\\tavrotablet.inf", Fate::Removed},
    {L"W", L"pdclean.exe", Fate::Removed},
    {L"S", L"serial.vxd", Fate::Kept},
    {L"W", L"inf\\other\\mouse.inf", Fate::Kept},
};

const FileEntry Files2000[] = {
    {L"S", L"drivers\\digclass.sys", Fate::Removed},
    {L"S", L"stylhook.dll", Fate::Removed},
    {L"S", L"digcls32.dll", Fate::Removed},
    {L"S", L"stycp-en.znc", Fate::Removed},
    {L"S", L"stycp-jp.znc", Fate::Removed},
    {L"S", L"vavad.cpl", Fate::Removed},
    {L"S", L"vavad.exe", Fate::Removed},
    {L"S", L"tavro.dat", Fate::Removed},
    {L"S", L"wintab32.dll", Fate::Removed},
    {L"S", L"wintab.dll", Fate::Removed},
    {L"W", L"inf\\vavad.inf", Fate::Removed},
    {L"W", L"inf\\vavad.pnf", Fate::Removed},
    {L"W", L"pdclean.exe", Fate::Removed},
    {L"S", L"drivers\\serial.sys", Fate::Kept},
};

// OEM copies of INFs, numbered as the system numbers them; the pen class ones go.
struct OemEntry {
    const wchar_t *cls;
    Fate fate;
};
const OemEntry Oems2000[] = {
    {L"PEN", Fate::Removed},
    {L"Mouse", Fate::Kept},
    {L"Pen", Fate::Removed},  // the class name is compared without regard to case
};

struct KeyEntry {
    const wchar_t *path;  // under HKEY_LOCAL_MACHINE
    Fate fate;
    const wchar_t *const *subkeys;  // created below it, each with a value
};

const wchar_t *const NoSubkeys[] = {nullptr};
const wchar_t *const DeviceNode[] = {L"1&2C4A1C9&0", nullptr};
const wchar_t *const ClassInstances[] = {L"0000", L"0000\\Settings", L"0001", L"0001\\Settings",
                                         L"0001\\Settings\\Pressure", nullptr};
const wchar_t *const ServiceKeys[] = {L"Enum", L"Parameters", L"Parameters\\Tablet",
                                      L"Parameters\\Tablet\\Buttons", L"Security", nullptr};

const wchar_t OtherUninstall[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\オルベーンペンツール";

const KeyEntry KeysMe[] = {
    {L"Enum\\SERENUM\\TVR0D42", Fate::Removed, DeviceNode},
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TavroTabletDriver", Fate::Removed, NoSubkeys},
    {L"System\\CurrentControlSet\\Services\\Class\\PEN", Fate::Removed, ClassInstances},
    {L"System\\CurrentControlSet\\Services\\Class\\{6e2b4d90-1f7a-11d3-a5c8-0000d1e2f3a4}", Fate::Removed, ClassInstances},
    {L"Enum\\SERENUM\\PNP0F0C", Fate::Kept, DeviceNode},
    {L"System\\CurrentControlSet\\Services\\Class\\Mouse", Fate::Kept, ClassInstances},
    {OtherUninstall, Fate::Kept, NoSubkeys},
};

const KeyEntry Keys2000[] = {
    {L"System\\CurrentControlSet\\Services\\VavadService", Fate::Removed, ServiceKeys},
    {L"System\\CurrentControlSet\\Services\\Tavro", Fate::Removed, ServiceKeys},
    {L"System\\CurrentControlSet\\Services\\Digclass", Fate::Removed, ServiceKeys},
    {L"System\\CurrentControlSet\\Control\\Class\\{6E2B4D90-1F7A-11D3-A5C8-0000D1E2F3A4}", Fate::Removed, ClassInstances},
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\オルベーンタブレットドライバ", Fate::Removed, NoSubkeys},
    {L"System\\CurrentControlSet\\Services\\Serial", Fate::Kept, ServiceKeys},
    {OtherUninstall, Fate::Kept, NoSubkeys},
};

// The services whose keys are above, registered through the service manager as the package's
// setup registers them (an INF's AddService ends in CreateService): the manager keeps a record
// of its own beside each key, which deleting the key alone leaves until the restart. Every one
// starts on demand, so that Wine's start-up never runs the stand-in files named here.
struct ServiceEntry {
    const wchar_t *name;
    DWORD type;
    const wchar_t *group;  // nullptr: none
    const wchar_t *image;
    Fate fate;
};

const ServiceEntry Services2000[] = {
    {L"VavadService", SERVICE_WIN32_OWN_PROCESS, nullptr, L"%SystemRoot%\\System32\\vavad.exe", Fate::Removed},
    {L"Tavro", SERVICE_KERNEL_DRIVER, L"Pen Class", L"System32\\DRIVERS\\tavro.sys", Fate::Removed},
    {L"Digclass", SERVICE_KERNEL_DRIVER, L"Pen Class", L"System32\\DRIVERS\\digclass.sys", Fate::Removed},
    {L"Serial", SERVICE_KERNEL_DRIVER, L"Extended base", L"System32\\DRIVERS\\serial.sys", Fate::Kept},
};

// The service group order of a Windows 2000 machine with the tablet driver installed.
const char *const Groups[] = {
    "System Reserved", "Boot Bus Extender", "System Bus Extender", "SCSI miniport", "port",
    "Primary disk", "SCSI Class", "SCSI CDROM Class", "filter", "boot file system", "Base",
    "Pointer Port", "Keyboard Port", "Pointer Class", "Keyboard Class", "Pen Class",
    "Video Init", "Video", "Video Save", "file system", "Event log", "Streams Drivers",
    "NDIS Wrapper", "COM Infrastructure", "UIGroup", "LocalValidation", "PlugPlay", "PNP_TDI",
    "NDIS", "TDI", "NetBIOSGroup", "ShellSvcGroup", "SchedulerGroup", "SpoolerGroup",
    "AudioGroup", "SmartCardGroup", "NetworkProvider", "RemoteValidation", "NetDDEGroup",
    "Parallel arbitrator", "Extended Base", "PCI Configuration", "MS Transactions",
};
const wchar_t GroupOrderKey[] = L"SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";

struct DeviceEntry {
    const wchar_t *id;
    const GUID *cls;
    Fate fate;
};

const GUID TabletClass = {0x6e2b4d90, 0x1f7a, 0x11d3, {0xa5, 0xc8, 0x00, 0x00, 0xd1, 0xe2, 0xf3, 0xa4}};
const GUID MouseClass = {0x4d36e96f, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
const GUID HidClass = {0x745a17a0, 0x74d3, 0x11d0, {0xb6, 0xfe, 0x00, 0xa0, 0xc9, 0x0f, 0x57, 0xda}};
const GUID UsbClass = {0x36fc9e60, 0xc465, 0x11cf, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const DeviceEntry Devices2000[] = {
    {L"SERENUM\\TVR0D42\\1&2C4A1C9&0&0000", &TabletClass, Fate::Removed},
    {L"SERENUM\\PNP0F0C\\1&2C4A1C9&0&0001", &MouseClass, Fate::Kept},
    {L"HID\\VID_4F1D&PID_0021\\7&1B2C3D4&0&0000", &TabletClass, Fate::Removed},
    {L"HID\\VID_045E&PID_0040\\7&2A3B4C5&0&0000", &MouseClass, Fate::Kept},
    {L"USB\\VID_4F1D&PID_0021\\5&1A2B3C4&0&1", &HidClass, Fate::Removed},
    {L"USB\\VID_046D&PID_C00E\\5&1A2B3C4&0&2", &HidClass, Fate::Kept},
    {L"USB\\ROOT_HUB\\4&VID_4F1D&0", &UsbClass, Fate::Kept},  // the token in the instance part
};

std::string Utf8(const std::wstring &w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
    return s;
}

void Complain(const wchar_t *what, const std::wstring &name, unsigned long error)
{
    fprintf(stderr, "pdsim: %s %s failed, error %lu\n", Utf8(what).c_str(), Utf8(name).c_str(), error);
}

std::wstring Base(const wchar_t *which)
{
    wchar_t dir[MAX_PATH];
    UINT n = which[0] == L'S' ? GetSystemDirectoryW(dir, MAX_PATH) : GetWindowsDirectoryW(dir, MAX_PATH);
    return std::wstring(dir, n) + L"\\";
}

std::wstring InfDir()
{
    return Base(L"W") + L"inf\\";
}

bool MakeParents(const std::wstring &path)
{
    for (size_t i = 3; i < path.size(); ++i) {
        if (path[i] == L'\\') {
            std::wstring dir = path.substr(0, i);
            if (!CreateDirectoryW(dir.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
                Complain(L"mkdir", dir, GetLastError());
                return false;
            }
        }
    }
    return true;
}

bool WriteFileBytes(const std::wstring &path, const std::string &bytes)
{
    if (!MakeParents(path))
        return false;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Complain(L"create", path, GetLastError());
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string InfText(const wchar_t *cls)
{
    return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=" + Utf8(cls) +
           "\r\nProvider=%Maker%\r\nDriverVer=03/15/2001,4.2.1.0\r\n\r\n[Strings]\r\nMaker=\"Tablet maker\"\r\n";
}

std::wstring OemStem(DWORD n)
{
    return InfDir() + L"oem" + std::to_wstring(n);
}

// The lowest oemN.inf number not taken, as the setup API numbers its copies: numbers freed
// by an older removal are taken again, so a copy may stand above or between gaps.
DWORD LowestFreeOem()
{
    DWORD n = 0;
    while (FileExists(OemStem(n) + L".inf"))
        ++n;
    return n;
}

// The numbers the installation's copies took, kept for listing them after removal.
const wchar_t StateKey[] = L"Software\\pdsim";
const size_t OemCount = sizeof Oems2000 / sizeof *Oems2000;

void RememberOems(const DWORD (&numbers)[OemCount])
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, StateKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, L"Oems", 0, REG_BINARY, reinterpret_cast<const BYTE *>(numbers), sizeof numbers);
        RegCloseKey(key);
    }
}

// Before any installation: the numbers a first one on an empty folder takes.
void RememberedOems(DWORD (&numbers)[OemCount])
{
    for (size_t i = 0; i < OemCount; ++i)
        numbers[i] = static_cast<DWORD>(i);
    DWORD size = sizeof numbers;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, StateKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExW(key, L"Oems", nullptr, nullptr, reinterpret_cast<BYTE *>(numbers), &size);
        RegCloseKey(key);
    }
}

bool CreateKeyWithValue(const std::wstring &path)
{
    HKEY key;
    LONG r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (r != ERROR_SUCCESS) {
        Complain(L"create key", path, r);
        return false;
    }
    const wchar_t data[] = L"set by the tablet driver installer";
    RegSetValueExW(key, L"Comment", 0, REG_SZ, reinterpret_cast<const BYTE *>(data), sizeof data);
    RegCloseKey(key);
    return true;
}

bool KeyExists(const std::wstring &path)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

template <typename T, size_t N> std::vector<T> Table(const T (&table)[N])
{
    return std::vector<T>(table, table + N);
}

std::vector<KeyEntry> KeysOf(Family family)
{
    return family == Family::Me ? Table(KeysMe) : Table(Keys2000);
}

std::vector<FileEntry> FilesOf(Family family)
{
    return family == Family::Me ? Table(FilesMe) : Table(Files2000);
}

bool CreateDevice(const DeviceEntry &d)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(d.cls, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        Complain(L"device list for", d.id, GetLastError());
        return false;
    }
    SP_DEVINFO_DATA data;
    ZeroMemory(&data, sizeof data);
    data.cbSize = sizeof data;
    bool ok = SetupDiCreateDeviceInfoW(set, d.id, d.cls, nullptr, nullptr, 0, &data) &&
              SetupDiRegisterDeviceInfo(set, &data, 0, nullptr, nullptr, nullptr);
    if (!ok && GetLastError() == ERROR_DEVINST_ALREADY_EXISTS)
        ok = true;
    else if (!ok)
        Complain(L"device", d.id, GetLastError());
    SetupDiDestroyDeviceInfoList(set);
    return ok;
}

std::wstring Enumerator(const std::wstring &id)
{
    return id.substr(0, id.find(L'\\'));
}

// Finds a device node the setup API knows, attached or not, and with remove takes it away.
// True when it was found (and removed).
bool VisitDevice(const std::wstring &id, bool remove)
{
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, Enumerator(id).c_str(), nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    for (DWORD i = 0; !found; ++i) {
        SP_DEVINFO_DATA data;
        ZeroMemory(&data, sizeof data);
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInfo(set, i, &data))
            break;
        wchar_t buffer[MAX_PATH];
        if (SetupDiGetDeviceInstanceIdW(set, &data, buffer, MAX_PATH, nullptr) &&
            lstrcmpiW(buffer, id.c_str()) == 0)
            found = !remove || SetupDiCallClassInstaller(DIF_REMOVE, set, &data);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

bool DeviceExists(const std::wstring &id)
{
    return VisitDevice(id, false);
}

// FNV-1a, for telling whether a neighbour was changed.
void Mix(unsigned long long *h, const void *bytes, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        *h ^= static_cast<const unsigned char *>(bytes)[i];
        *h *= 1099511628211ULL;
    }
}

std::string Digest(unsigned long long h)
{
    char text[17];
    snprintf(text, sizeof text, "%016llx", h);
    return text;
}

std::string FileDigest(const std::wstring &path)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "-";
    unsigned long long h = 14695981039346656037ULL;
    char buffer[4096];
    DWORD n;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0)
        Mix(&h, buffer, n);
    CloseHandle(f);
    return Digest(h);
}

// Every subkey's name and every value's name, type and data, in the order enumerated.
void MixKey(unsigned long long *h, HKEY key)
{
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        BYTE data[8192];
        DWORD nameLength = 16384, type, size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        Mix(h, name, nameLength * sizeof(wchar_t));
        Mix(h, &type, sizeof type);
        Mix(h, data, size);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Mix(h, name, (nameLength + 1) * sizeof(wchar_t));
        HKEY sub;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            MixKey(h, sub);
            RegCloseKey(sub);
        }
    }
}

std::string KeyDigest(const std::wstring &path)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "-";
    unsigned long long h = 14695981039346656037ULL;
    MixKey(&h, key);
    RegCloseKey(key);
    return Digest(h);
}

// The service as the setup registers it: NULL when refused, with the error left to read.
SC_HANDLE Create(SC_HANDLE manager, const ServiceEntry &e)
{
    return CreateServiceW(manager, e.name, e.name, SERVICE_ALL_ACCESS, e.type, SERVICE_DEMAND_START,
                          SERVICE_ERROR_NORMAL, e.image, e.group, nullptr, nullptr, nullptr, nullptr);
}

bool RegisterService(const ServiceEntry &e)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    if (manager == nullptr) {
        Complain(L"service manager for", e.name, GetLastError());
        return false;
    }
    SC_HANDLE service = Create(manager, e);
    DWORD error = service == nullptr ? GetLastError() : ERROR_SUCCESS;
    if (service != nullptr)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    if (error != ERROR_SUCCESS && error != ERROR_SERVICE_EXISTS) {
        Complain(L"create service", e.name, error);
        return false;
    }
    return true;
}

// Whether the service manager knows the service now (a service marked for deletion counts).
bool ServiceKnown(const wchar_t *name)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr)
        return false;
    SC_HANDLE service = OpenServiceW(manager, name, SERVICE_QUERY_STATUS);
    if (service != nullptr)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

bool RemoveGroup(const char *group)
{
    std::string now = GroupListBytes(), entry = std::string(group) + '\0', kept;
    for (size_t at = 0; at < now.size() && now[at] != '\0';) {
        size_t end = now.find('\0', at);
        if (now.compare(at, end + 1 - at, entry) != 0)
            kept += now.substr(at, end + 1 - at);
        at = end + 1;
    }
    kept += '\0';
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, GroupOrderKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExA(key, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>(kept.data()),
                            static_cast<DWORD>(kept.size()));
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

std::wstring LongName()
{
    return L"x" + std::wstring(255, L'n');
}

} // namespace

std::string InstalledGroupList()
{
    std::string bytes;
    for (const char *g : Groups)
        bytes += std::string(g) + '\0';
    return bytes + '\0';
}

std::string GroupListBytes()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, GroupOrderKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    BYTE data[4096];
    DWORD size = sizeof data;
    // The narrow bytes, as a program of the system's code page reads them.
    LONG r = RegQueryValueExA(key, "List", nullptr, nullptr, data, &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? std::string(reinterpret_cast<char *>(data), size) : "";
}

std::vector<std::wstring> PackageTrees(Family family)
{
    std::vector<std::wstring> trees;
    for (const KeyEntry &k : KeysOf(family)) {
        if (k.fate == Fate::Removed)
            trees.push_back(k.path);
    }
    return trees;
}

std::vector<std::wstring> PackageServices(Family family)
{
    std::vector<std::wstring> names;
    for (const ServiceEntry &e : Services2000) {
        if (family == Family::W2000 && e.fate == Fate::Removed)
            names.push_back(e.name);
    }
    return names;
}

bool InstallPackage(Family family)
{
    bool ok = true;
    for (const FileEntry &f : FilesOf(family))
        ok &= WriteFileBytes(Base(f.base) + f.path, "installed by the tablet driver package\r\n");
    // The manager writes each service's key; the setup then adds its parameters below it.
    if (family == Family::W2000) {
        for (const ServiceEntry &e : Services2000)
            ok &= RegisterService(e);
    }
    for (const KeyEntry &k : KeysOf(family)) {
        ok &= CreateKeyWithValue(k.path);
        for (const wchar_t *const *sub = k.subkeys; *sub; ++sub)
            ok &= CreateKeyWithValue(std::wstring(k.path) + L"\\" + *sub);
    }
    if (family == Family::W2000) {
        DWORD numbers[OemCount];
        for (size_t i = 0; i < OemCount; ++i) {
            numbers[i] = LowestFreeOem();
            ok &= WriteFileBytes(OemStem(numbers[i]) + L".inf", InfText(Oems2000[i].cls));
            ok &= WriteFileBytes(OemStem(numbers[i]) + L".pnf", "precompiled INF\r\n");
        }
        RememberOems(numbers);
        HKEY key;
        LONG r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, GroupOrderKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (r == ERROR_SUCCESS) {
            std::string list = InstalledGroupList();
            r = RegSetValueExA(key, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>(list.data()),
                               static_cast<DWORD>(list.size()));
            RegCloseKey(key);
        }
        if (r != ERROR_SUCCESS) {
            Complain(L"group order", GroupOrderKey, r);
            ok = false;
        }
        for (const DeviceEntry &d : Devices2000)
            ok &= CreateDevice(d);
    }
    return ok;
}

std::vector<Item> ListPackage(Family family)
{
    std::vector<Item> items;
    for (const FileEntry &f : FilesOf(family)) {
        std::wstring path = Base(f.base) + f.path;
        items.push_back({"file", Utf8(path), f.fate, FileExists(path), FileDigest(path)});
    }
    if (family == Family::W2000) {
        DWORD numbers[OemCount];
        RememberedOems(numbers);
        for (size_t i = 0; i < OemCount; ++i) {
            std::wstring stem = OemStem(numbers[i]);
            for (const wchar_t *ext : {L".inf", L".pnf"})
                items.push_back({"file", Utf8(stem + ext) + " (" + Utf8(Oems2000[i].cls) + ")", Oems2000[i].fate,
                                 FileExists(stem + ext), FileDigest(stem + ext)});
        }
    }
    for (const KeyEntry &k : KeysOf(family))
        items.push_back({"key", "HKLM\\" + Utf8(k.path), k.fate, KeyExists(k.path), KeyDigest(k.path)});
    if (family == Family::W2000) {
        std::string now = GroupListBytes();
        for (const char *g : Groups) {
            std::string entry = std::string(1, '\0') + g + '\0';
            bool present = ('\0' + now).find(entry) != std::string::npos;
            items.push_back({"group", g, std::string(g) == "Pen Class" ? Fate::Removed : Fate::Kept, present, "-"});
        }
        for (const DeviceEntry &d : Devices2000)
            items.push_back({"device", Utf8(d.id), d.fate, DeviceExists(d.id), "-"});
        for (const ServiceEntry &e : Services2000)
            items.push_back({"service", Utf8(e.name) + " (service manager)", e.fate, ServiceKnown(e.name), "-"});
    }
    return items;
}

bool AddLongSubkey(const std::wstring &parent)
{
    return CreateKeyWithValue(parent + L"\\" + LongName());
}

bool ServiceReregisters()
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    if (manager == nullptr)
        return false;
    const ServiceEntry &e = Services2000[0];
    SC_HANDLE service = Create(manager, e);
    if (service == nullptr)
        Complain(L"create service", e.name, GetLastError());
    else if (!DeleteService(service))
        Complain(L"delete service", e.name, GetLastError());
    if (service != nullptr)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

bool DeleteLongSubkey(const std::wstring &parent)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    LONG r = RegDeleteKeyW(key, LongName().c_str());
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

bool DropItem(Family family, const std::string &name)
{
    for (const FileEntry &f : FilesOf(family)) {
        std::wstring path = Base(f.base) + f.path;
        if (Utf8(path) == name)
            return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileW(path.c_str());
    }
    for (const KeyEntry &k : KeysOf(family)) {
        if ("HKLM\\" + Utf8(k.path) == name)
            return RegDeleteTreeW(HKEY_LOCAL_MACHINE, k.path) == ERROR_SUCCESS;
    }
    if (family == Family::W2000) {
        for (const char *g : Groups) {
            if (name == g)
                return RemoveGroup(g);
        }
        for (const DeviceEntry &d : Devices2000) {
            if (Utf8(d.id) == name)
                return VisitDevice(d.id, true);
        }
    }
    fprintf(stderr, "pdsim: no item %s\n", name.c_str());
    return false;
}
