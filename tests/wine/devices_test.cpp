// Device removal through the real setup API: device nodes created under SERENUM, HID and
// USB, then swept. Wine upper-cases instance IDs, so letter case is left to the host test.
#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "core/session.h"
#include "registry/devices.h"
#include "registry/plans.h"
#include "tests/wine/win_test_util.h"

namespace {

const GUID TestClass = {0x1b2e6c10, 0x4c3d, 0x4e5f, {0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};

void CreateDevice(const std::string &id, const GUID &setupClass = TestClass)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(&setupClass, NULL);
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    SP_DEVINFO_DATA data;
    ZeroMemory(&data, sizeof data);
    data.cbSize = sizeof data;
    BOOL created = SetupDiCreateDeviceInfoA(set, id.c_str(), &setupClass, NULL, NULL, 0, &data) &&
                   SetupDiRegisterDeviceInfo(set, &data, 0, NULL, NULL, NULL);
    DWORD error = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    ASSERT_TRUE(created || error == ERROR_DEVINST_ALREADY_EXISTS) << id << " error " << error;
}

// The instance IDs the setup API lists under an enumerator, attached or not.
std::vector<std::string> Listed(const char *enumerator)
{
    std::vector<std::string> ids;
    HDEVINFO set = SetupDiGetClassDevsA(NULL, enumerator, NULL, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return ids;
    for (DWORD i = 0;; ++i) {
        SP_DEVINFO_DATA data;
        ZeroMemory(&data, sizeof data);
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInfo(set, i, &data))
            break;
        char id[MAX_PATH];
        if (SetupDiGetDeviceInstanceIdA(set, &data, id, sizeof id, NULL))
            ids.push_back(id);
    }
    SetupDiDestroyDeviceInfoList(set);
    return ids;
}

bool Present(const std::string &id)
{
    std::string enumerator = id.substr(0, id.find('\\'));
    for (const std::string &listed : Listed(enumerator.c_str()))
        if (lstrcmpiA(listed.c_str(), id.c_str()) == 0)
            return true;
    return false;
}

const char *const SerialTablets[] = {
    "SERENUM\\TVR0D42\\1&2C4A1C9&0&0000",
    // Three in a row: the walk goes on with the next index after each removal.
    "SERENUM\\TVR0D42\\1&2C4A1C9&0&0001",
    "SERENUM\\TVR0D43\\1&2C4A1C9&0&0002",
    "SERENUM\\VID_4F1D\\3&1&0",  // both tokens count under every enumerator
};
const char *const SerialOthers[] = {
    "SERENUM\\PNP0F0C\\1&2C4A1C9&0&0003",
    "SERENUM\\PNP0F0C\\TVR0D42",  // the token in the instance part only
    "SERENUM\\XTVR0D42\\1",
    "SERENUM\\TV\\1",
};
const char *const UsbTablets[] = {"USB\\VID_4F1D&PID_0021\\5&1A2B3C&0&1", "USB\\TVR0D42\\5&1A2B3C&0&2"};
const char *const UsbOthers[] = {"USB\\VID_046D&PID_C00E\\5&1A2B3C&0&3", "USB\\ROOT_HUB\\4&VID_4F1D&0",
                                 "USB\\VID_4F1E&PID_0021\\5&1A2B3C&0&4"};
const char *const HidTablets[] = {"HID\\VID_4F1D&PID_0021&MI_00\\7&ABC&0&0000"};
const char *const HidOthers[] = {"HID\\VID_045E&PID_0040\\7&ABC&0&0001"};

template <size_t N> void CreateAll(const char *const (&ids)[N])
{
    for (const char *id : ids)
        CreateDevice(id);
}

template <size_t N> void ExpectPresent(const char *const (&ids)[N], bool present)
{
    for (const char *id : ids)
        EXPECT_EQ(Present(id), present) << id;
}

TEST(TabletDevices, EachEnumeratorLosesItsTabletNodesAndKeepsTheOthers)
{
    CreateAll(SerialTablets);
    CreateAll(SerialOthers);
    CreateAll(UsbTablets);
    CreateAll(UsbOthers);
    CreateAll(HidTablets);
    CreateAll(HidOthers);
    ExpectPresent(SerialTablets, true);

    EXPECT_EQ(RemoveTabletDevices("SERENUM"), Outcome::Deleted);
    ExpectPresent(SerialTablets, false);
    ExpectPresent(SerialOthers, true);
    ExpectPresent(UsbTablets, true); // another enumerator: untouched so far
    ExpectPresent(HidTablets, true);

    EXPECT_EQ(RemoveTabletDevices("USB"), Outcome::Deleted);
    ExpectPresent(UsbTablets, false);
    ExpectPresent(UsbOthers, true);
    EXPECT_EQ(RemoveTabletDevices("HID"), Outcome::Deleted);
    ExpectPresent(HidTablets, false);
    ExpectPresent(HidOthers, true);
}

TEST(TabletDevices, EnumeratorWithoutTabletsIsWalkedAndLeftAlone)
{
    CreateAll(SerialOthers);
    std::vector<std::string> before = Listed("SERENUM");
    EXPECT_EQ(RemoveTabletDevices("SERENUM"), Outcome::Deleted);
    EXPECT_EQ(Listed("SERENUM"), before);
}

TEST(RegistryPlanNT, GroupEditAndDeviceSweepsRunWithEveryTreeAlreadyGone)
{
    CreateDevice("SERENUM\\TVR0D42\\9&9&0&0000");
    CreateDevice("USB\\VID_4F1D&PID_0099\\9&9&0&1");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", 0,
                              NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    const char list[] = "Base\0Pen Class\0TDI\0";  // and the literal's own closing zero
    RegSetValueExA(key, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>(list), sizeof list);
    StartSession(PlatformKind::Win2000);

    EXPECT_TRUE(RunRegistryPlanNT());
    EXPECT_EQ(session.rowCount, 0);
    EXPECT_FALSE(session.errorSeen);  // trees not there are no failure
    EXPECT_FALSE(Present("SERENUM\\TVR0D42\\9&9&0&0000"));
    EXPECT_FALSE(Present("USB\\VID_4F1D&PID_0099\\9&9&0&1"));
    char data[64];
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "List", NULL, NULL, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(data, size), std::string("Base\0TDI\0\0", 10));
    RegCloseKey(key);
}

// A class whose installer keeps a node it is asked to remove until the restart and asks for
// it, as Windows 2000 does for a device that cannot stop now. Wine's own removal never asks.
// The harness puts the installer into the system folder, where Wine alone looks for one.
const GUID HeldClass = {0x1b2e6c11, 0x4c3d, 0x4e5f, {0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x78}};
const char HeldClassKey[] = "System\\CurrentControlSet\\Control\\Class\\{1B2E6C11-4C3D-4E5F-9011-223344556678}";
const char HeldInstaller[] = "held_device.dll,HeldDeviceInstaller";

TEST(TabletDevices, NodeKeptUntilTheRestartAsksForIt_ClassInstallerOfTheTest)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, HeldClassKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Installer32", 0, REG_SZ, reinterpret_cast<const BYTE *>(HeldInstaller),
                   sizeof HeldInstaller);
    const char held[] = "SERENUM\\TVR0D44\\8&1&0&0000";
    const char goesNow[] = "SERENUM\\TVR0D44\\8&1&0&0001";   // another class: removed at once
    const char neighbour[] = "SERENUM\\PNP0F0C\\8&1&0&0002"; // not the tablet's: untouched
    CreateDevice(held, HeldClass);
    CreateDevice(goesNow);
    CreateDevice(neighbour);

    EXPECT_EQ(RemoveTabletDevices("SERENUM"), Outcome::DeleteAtRestart);
    EXPECT_TRUE(Present(held));
    EXPECT_FALSE(Present(goesNow));
    EXPECT_TRUE(Present(neighbour));

    // Once the device can stop, the next run takes it at once.
    RegDeleteValueA(key, "Installer32");
    RegCloseKey(key);
    EXPECT_EQ(RemoveTabletDevices("SERENUM"), Outcome::Deleted);
    EXPECT_FALSE(Present(held));
}

// Stand-ins for the setup API: Wine removes every node it is asked to, so a refused
// DIF_REMOVE, and parameters that cannot be read, are shown on the walk itself. Per element,
// what its removal does: '.' removed now, 'B' or 'S' kept until the restart (DI_NEEDREBOOT,
// DI_NEEDRESTART), 'F' parameters not readable, 'R' refused; '-' the first, a mouse, is
// never removed.
const char *const StandInIds[] = {"SERENUM\\PNP0F0C\\1", "SERENUM\\TVR0D42\\1", "USB\\VID_4F1D&PID_1\\2"};
const char *removals;
int removalsAsked;

BOOL WINAPI StandInEnum(HDEVINFO, DWORD index, PSP_DEVINFO_DATA device)
{
    device->DevInst = index;
    return index < sizeof StandInIds / sizeof *StandInIds;
}

BOOL WINAPI StandInId(HDEVINFO, PSP_DEVINFO_DATA device, PSTR id, DWORD size, PDWORD)
{
    lstrcpynA(id, StandInIds[device->DevInst], static_cast<int>(size));
    return TRUE;
}

BOOL WINAPI StandInRemove(DI_FUNCTION function, HDEVINFO, PSP_DEVINFO_DATA device)
{
    EXPECT_EQ(function, static_cast<DI_FUNCTION>(DIF_REMOVE));
    EXPECT_NE(device->DevInst, 0u) << "the mouse is not the tablet's";
    ++removalsAsked;
    return removals[device->DevInst] != 'R';
}

BOOL WINAPI StandInParams(HDEVINFO, PSP_DEVINFO_DATA device, PSP_DEVINSTALL_PARAMS_A params)
{
    char removal = removals[device->DevInst];
    EXPECT_NE(device->DevInst, 0u) << "the mouse is not the tablet's";
    EXPECT_NE(removal, 'R') << "a refused removal has nothing to say";
    EXPECT_EQ(params->cbSize, sizeof *params);
    // What a failed read leaves behind is no answer.
    params->Flags = removal == '.' ? 0 : removal == 'S' ? DI_NEEDRESTART : DI_NEEDREBOOT;
    return removal != 'F';
}

TEST(TabletDevices, RemovalsAskingForTheRestartOrRefusedDecideTheOutcome_StandInSetupApi)
{
    DeviceApi api = {NULL, StandInEnum, StandInId, StandInRemove, NULL, StandInParams};
    HDEVINFO list = reinterpret_cast<HDEVINFO>(1);
    const struct {
        const char *removals;
        Outcome outcome;
    } cases[] = {
        {"-..", Outcome::Deleted},
        {"-.B", Outcome::DeleteAtRestart},
        {"-S.", Outcome::DeleteAtRestart},
        {"-F.", Outcome::Deleted},
        {"-RB", Outcome::Error},  // a refusal outranks a restart, in either order
        {"-BR", Outcome::Error},
    };
    for (const auto &c : cases) {
        removals = c.removals;
        removalsAsked = 0;
        EXPECT_EQ(RemoveMatchingDevices(api, list), c.outcome) << c.removals;
        EXPECT_EQ(removalsAsked, 2) << c.removals;  // the walk goes on after each
    }
}

} // namespace
