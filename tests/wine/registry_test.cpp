// Registry tree removal, the service group order edit and the registry plans, on the
// prefix's real registry; the refusals of the service manager, on stand-ins.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/session.h"
#include "registry/key_tree.h"
#include "registry/plans.h"
#include "registry/service_group.h"
#include "registry/services.h"
#include "tests/wine/win_test_util.h"

namespace {

const char TestRoot[] = "Software\\PdcleanTest";

std::wstring Wide(const std::string &s)
{
    return std::wstring(s.begin(), s.end());
}

void CreateKey(const std::string &path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS) << path;
    RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 2);
    RegCloseKey(key);
}

// The ANSI calls refuse whole paths over 255 characters under Wine: long names go wide.
void CreateKeyWide(const std::wstring &path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool KeyExists(const std::wstring &path)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool KeyExists(const std::string &path)
{
    return KeyExists(Wide(path));
}

// Test cleanup that does not depend on the code under test.
void WipeKey(HKEY parent, const std::wstring &name)
{
    HKEY key;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    wchar_t sub[1024];
    for (;;) {
        DWORD n = 1024;
        if (RegEnumKeyExW(key, 0, sub, &n, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        WipeKey(key, sub);
    }
    RegCloseKey(key);
    RegDeleteKeyW(parent, name.c_str());
}

std::string Fresh(const char *name)
{
    std::string path = std::string(TestRoot) + "\\" + name;
    WipeKey(HKEY_LOCAL_MACHINE, Wide(path));
    return path;
}

TEST(KeyTree, KeyWithoutSubkeysIsDeleted)
{
    std::string path = Fresh("Single");
    CreateKey(path);
    EXPECT_EQ(ProbeKeyTree(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::Deleted);
    EXPECT_FALSE(KeyExists(path));
    EXPECT_TRUE(KeyExists(std::string(TestRoot)));
}

TEST(KeyTree, ThreeLevelTreeIsDeletedWholeAndItsNeighboursStay)
{
    std::string path = Fresh("Tree");
    std::string neighbour = Fresh("TreeNeighbour");
    CreateKey(neighbour + "\\Inside");
    for (const char *a : {"A1", "A2", "A3"})
        for (const char *b : {"B1", "B2", "B3"})
            for (const char *c : {"C1", "C2"})
                CreateKey(path + "\\" + a + "\\" + b + "\\" + c);
    EXPECT_EQ(ProbeKeyTree(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_NO_MORE_ITEMS);
    EXPECT_TRUE(KeyExists(path + "\\A3\\B3\\C2")); // the probe changes nothing
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::Deleted);
    EXPECT_FALSE(KeyExists(path));
    EXPECT_TRUE(KeyExists(neighbour + "\\Inside"));
}

TEST(KeyTree, MissingTreeEmptyPathAndAbsentRootAreNoKey)
{
    std::string path = Fresh("Missing");
    EXPECT_EQ(ProbeKeyTree(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::NoKey);
    EXPECT_FALSE(KeyExists(path));

    // An empty path must never name the root itself.
    CreateKey(std::string(TestRoot) + "\\Guard");
    HKEY root;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestRoot, 0, KEY_ALL_ACCESS, &root), ERROR_SUCCESS);
    EXPECT_EQ(ProbeKeyTree(root, ""), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteKeyTree(root, ""), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RemoveRegistryTree(root, ""), Outcome::NoKey);
    RegCloseKey(root);
    EXPECT_TRUE(KeyExists(std::string(TestRoot) + "\\Guard"));
    EXPECT_EQ(ProbeKeyTree(NULL, "Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RemoveRegistryTree(NULL, "Software"), Outcome::NoKey);
}

TEST(KeyTree, NameLongerThanTheEnumerationBufferStopsTheDeletionWithError)
{
    std::string path = Fresh("Long");
    CreateKey(path + "\\a\\b");
    CreateKey(path + "\\a\\c");
    CreateKeyWide(Wide(path) + L"\\" + LongKeyName());
    // The probe's chain (a, then b) opens; the deletion then meets the long name.
    EXPECT_EQ(ProbeKeyTree(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::Error);
    EXPECT_FALSE(KeyExists(path + "\\a"));
    EXPECT_TRUE(KeyExists(Wide(path) + L"\\" + LongKeyName()));
    WipeKey(HKEY_LOCAL_MACHINE, Wide(path));
}

TEST(KeyTree, ProbeFailingOnTheFirstChainLeavesTheTreeUntouched)
{
    std::string path = Fresh("LongFirst");
    CreateKeyWide(Wide(path) + L"\\" + LongKeyName());
    CreateKey(path + "\\zz");
    EXPECT_EQ(ProbeKeyTree(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_MORE_DATA);
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::Error);
    EXPECT_TRUE(KeyExists(path + "\\zz"));
    WipeKey(HKEY_LOCAL_MACHINE, Wide(path));
}

// The service group order, saved before and put back after each test.
const char GroupKey[] = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";

struct SavedValue {
    bool existed;
    DWORD type;
    std::string bytes;
};

bool ReadList(std::string *bytes, DWORD *type)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    BYTE data[4096];
    DWORD size = sizeof data;
    LONG r = RegQueryValueExA(key, "List", NULL, type, data, &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS)
        return false;
    bytes->assign(reinterpret_cast<char *>(data), size);
    return true;
}

void WriteList(const std::string &bytes, DWORD type = REG_MULTI_SZ)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, GroupKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, "List", 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

std::string List(std::initializer_list<std::string> names)
{
    std::string s;
    for (const std::string &n : names)
        s += n + '\0';
    return s + '\0';
}

// A chain of subkeys "d", levels deep below path, made and walked one level at a time:
// the test's own helpers must not recurse that deep either.
void CreateChain(const std::string &path, int levels)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    for (int i = 0; i < levels; ++i) {
        HKEY sub;
        LONG error = RegCreateKeyExA(key, "d", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &sub, NULL);
        RegCloseKey(key);
        ASSERT_EQ(error, ERROR_SUCCESS) << "level " << i;
        key = sub;
    }
    RegCloseKey(key);
}

// The levels of "d" below path (-1 when path is gone); with wipe, deleted bottom up.
int ChainLevels(const std::string &path, bool wipe)
{
    std::vector<HKEY> keys(1);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &keys[0]) != ERROR_SUCCESS)
        return -1;
    HKEY sub;
    while (RegOpenKeyExA(keys.back(), "d", 0, KEY_ALL_ACCESS, &sub) == ERROR_SUCCESS)
        keys.push_back(sub);
    for (size_t i = keys.size(); i-- > 0;) {
        RegCloseKey(keys[i]);
        if (wipe && i > 0)
            RegDeleteKeyA(keys[i - 1], "d");
    }
    return static_cast<int>(keys.size()) - 1;
}

TEST(KeyTree, KeysDeeperThan512LevelsAreAnErrorAndTheirChainStays)
{
    std::string path = Fresh("deep");
    CreateKey(path + "\\a");       // the probe's chain: short, and removed by the walk
    CreateChain(path + "\\b", 512);  // its deepest key is 513 levels below path
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::Error);
    EXPECT_FALSE(KeyExists(path + "\\a"));
    EXPECT_EQ(ChainLevels(path + "\\b", true), 512);

    CreateChain(path + "\\b", 511);  // 512 levels: the deepest the walk goes
    EXPECT_EQ(RemoveRegistryTree(HKEY_LOCAL_MACHINE, path.c_str()), Outcome::Deleted);
    EXPECT_EQ(ChainLevels(path, false), -1);
}

class ServiceGroup : public testing::Test {
protected:
    void SetUp() override { saved.existed = ReadList(&saved.bytes, &saved.type); }
    void TearDown() override
    {
        if (saved.existed)
            WriteList(saved.bytes, saved.type);
    }
    SavedValue saved;
};

TEST_F(ServiceGroup, PenClassIsTakenOutWithExactBytesLeft)
{
    WriteList(List({"Base", "Keyboard Class", "Pen Class", "Video", "Pen Class", "TDI"}));
    EXPECT_EQ(RemoveServiceGroup(), Outcome::Deleted);
    std::string bytes;
    DWORD type = 0;
    ASSERT_TRUE(ReadList(&bytes, &type));
    EXPECT_EQ(bytes, List({"Base", "Keyboard Class", "Video", "TDI"}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
}

TEST_F(ServiceGroup, ListWithoutPenClassKeepsEveryByte)
{
    std::string list = List({"Base", "pen class", "Pen Class2", " Pen Class"}) + std::string(3, '\0');
    WriteList(list);
    EXPECT_EQ(RemoveServiceGroup(), Outcome::NoValue);
    std::string bytes;
    DWORD type;
    ASSERT_TRUE(ReadList(&bytes, &type));
    EXPECT_EQ(bytes, list);
}

TEST_F(ServiceGroup, ValueOverTheBufferIsLeftAsItIs)
{
    std::string list = List({"Pen Class", std::string(1100, 'g')});
    WriteList(list);
    EXPECT_EQ(RemoveServiceGroup(), Outcome::NoValue);
    std::string bytes;
    DWORD type;
    ASSERT_TRUE(ReadList(&bytes, &type));
    EXPECT_EQ(bytes, list);
}

TEST_F(ServiceGroup, FullBufferWithoutTerminatorIsLeftAsItIs)
{
    // The stored type is not examined, so binary data reach the walk as they are: exactly
    // 1024 bytes whose last string has no zero anywhere in the buffer.
    std::string bytes = std::string("Pen Class", 10) + std::string(1024 - 10, 'g');
    WriteList(bytes, REG_BINARY);
    EXPECT_EQ(RemoveServiceGroup(), Outcome::NoValue);
    std::string now;
    DWORD type = 0;
    ASSERT_TRUE(ReadList(&now, &type));
    EXPECT_EQ(now, bytes);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}

TEST_F(ServiceGroup, MissingValueAndMissingKeyCreateNothing)
{
    WipeKey(HKEY_LOCAL_MACHINE, Wide(GroupKey));
    EXPECT_EQ(RemoveServiceGroup(), Outcome::NoKey);
    EXPECT_FALSE(KeyExists(std::string(GroupKey)));

    CreateKeyWide(Wide(GroupKey));
    EXPECT_EQ(RemoveServiceGroup(), Outcome::NoKey);
    std::string bytes;
    DWORD type;
    EXPECT_FALSE(ReadList(&bytes, &type));
}

const char *const Trees9x[] = {
    "Enum\\SERENUM\\TVR0D42",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TavroTabletDriver",
    "System\\CurrentControlSet\\Services\\Class\\PEN",
    "System\\CurrentControlSet\\Services\\Class\\{6e2b4d90-1f7a-11d3-a5c8-0000d1e2f3a4}",
};

TEST(RegistryPlan9x, RemovesTheTreesAndRecordsEachAttempt)
{
    for (const char *t : Trees9x)
        CreateKey(std::string(t) + "\\0000\\Settings");
    StartSession(PlatformKind::WinMe);
    EXPECT_TRUE(RunRegistryPlan9x());
    for (const char *t : Trees9x)
        EXPECT_FALSE(KeyExists(std::string(t))) << t;
    EXPECT_TRUE(KeyExists(std::string("System\\CurrentControlSet\\Services")));
    EXPECT_EQ(session.rowCount, 4);
    EXPECT_FALSE(session.errorSeen);
}

TEST(RegistryPlan9x, NothingInstalledRecordsFourRowsWithoutError)
{
    StartSession(PlatformKind::WinMe);
    EXPECT_TRUE(RunRegistryPlan9x());
    EXPECT_EQ(session.rowCount, 4);
    EXPECT_FALSE(session.errorSeen);
}

TEST(RegistryPlan9x, TreeThatCannotBeRemovedIsAnError)
{
    std::string pen = "System\\CurrentControlSet\\Services\\Class\\PEN";
    CreateKey(pen + "\\0000");
    CreateKeyWide(Wide(pen) + L"\\" + LongKeyName());
    StartSession(PlatformKind::WinMe);
    EXPECT_TRUE(RunRegistryPlan9x());
    EXPECT_EQ(session.rowCount, 4);
    EXPECT_TRUE(session.errorSeen);
    WipeKey(HKEY_LOCAL_MACHINE, Wide(pen));
}

// Stand-ins for the service manager: Wine's grants every access (a DACL set on a service to
// deny DELETE is not checked), so the refusals a user who is no administrator meets are
// shown on the deletion itself. The step that refuses: 'M' opening the manager, 'O' opening
// the service for deletion, 'D' the deletion.
char refusing;
int openHandles;

SC_HANDLE Granted(const char *step)
{
    if (refusing == *step) {
        SetLastError(ERROR_ACCESS_DENIED);
        return NULL;
    }
    ++openHandles;
    return reinterpret_cast<SC_HANDLE>(1);
}

SC_HANDLE WINAPI StandInManager(LPCSTR, LPCSTR, DWORD) { return Granted("M"); }
SC_HANDLE WINAPI StandInService(SC_HANDLE, LPCSTR, DWORD access)
{
    return Granted(access == DELETE ? "O" : "-");
}
BOOL WINAPI StandInDelete(SC_HANDLE) { return refusing == 'D' ? (SetLastError(ERROR_ACCESS_DENIED), FALSE) : TRUE; }
BOOL WINAPI StandInClose(SC_HANDLE) { return --openHandles >= 0; }

TEST(Services, EachRefusalIsAnErrorWithEveryHandleClosed_StandInServiceManager)
{
    ServiceApi api = {StandInManager, StandInService, StandInDelete, StandInClose};
    for (char step : {'M', 'O', 'D', '-'}) {
        refusing = step;
        openHandles = 0;
        EXPECT_EQ(RemoveServiceWith(api, "VavadService"), step == '-' ? Outcome::DeleteAtRestart : Outcome::Error)
            << step;
        EXPECT_EQ(openHandles, 0) << step;
    }
}

} // namespace
