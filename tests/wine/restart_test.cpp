// The wininit.ini fallback, called directly. (Whole runs reach it with MoveFileEx refused,
// and Wine's start-up processing carries it out: the run tests.)
#include <gtest/gtest.h>

#include "core/session.h"
#include "files/primitives.h"
#include "files/restart.h"
#include "tests/wine/win_test_util.h"

namespace {

struct IniFixture : testing::Test {
    void SetUp() override
    {
        SetFileAttributesA(WininitPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(WininitPath().c_str());
        dir = ScratchDir("restart");
        // A long name with a blank: only its 8.3 alias may reach the file.
        target = dir + "\\Long Driver Name.dll";
        WriteBytes(target, "MZ");
    }
    void TearDown() override
    {
        SetFileAttributesA(WininitPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(WininitPath().c_str());
    }
    std::string dir, target;
};

TEST_F(IniFixture, MissingFileIsCreatedWithHeaderAndShortNameLine)
{
    ASSERT_TRUE(AddToRenameList(target.c_str(), NULL));
    std::string shortName = ShortName(target);
    ASSERT_NE(shortName, target);
    EXPECT_EQ(shortName.find(' '), std::string::npos);
    EXPECT_EQ(ReadBytes(WininitPath()), "[rename]\r\nNUL=" + shortName + "\r\n");
}

TEST_F(IniFixture, ExistingSectionGetsTheLineLastAndGrowsByItsLength)
{
    std::string old = "[rename]\r\nNUL=C:\\OLD.TXT\r\n[boot]\r\nshell=x\r\n";
    WriteBytes(WininitPath(), old);
    ASSERT_TRUE(AddToRenameList(target.c_str(), NULL));
    std::string line = "NUL=" + ShortName(target) + "\r\n";
    EXPECT_EQ(ReadBytes(WininitPath()), "[rename]\r\nNUL=C:\\OLD.TXT\r\n" + line + "[boot]\r\nshell=x\r\n");
}

TEST_F(IniFixture, SecondEntryStandsBelowTheFirst)
{
    std::string other = dir + "\\second.vxd";
    WriteBytes(other, "x");
    ASSERT_TRUE(AddToRenameList(target.c_str(), NULL));
    ASSERT_TRUE(AddToRenameList(other.c_str(), NULL));
    EXPECT_EQ(ReadBytes(WininitPath()), "[rename]\r\nNUL=" + ShortName(target) + "\r\nNUL=" +
                                        ShortName(other) + "\r\n");
}

TEST_F(IniFixture, UnfinishedLastLineIsEndedBeforeTheNewSection)
{
    WriteBytes(WininitPath(), "[boot]\r\nshell=x");
    ASSERT_TRUE(AddToRenameList(target.c_str(), NULL));
    EXPECT_EQ(ReadBytes(WininitPath()),
              "[boot]\r\nshell=x\r\n[rename]\r\nNUL=" + ShortName(target) + "\r\n");
}

TEST_F(IniFixture, ProfileWritesBeforeAndAfterKeepTheLineAndTheFileEndsAtTheText)
{
    // The profile functions write the same file and may cache it: the edit flushes them
    // first, and a later profile write must find the line in place.
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "shell", "x", WininitPath().c_str()));
    ASSERT_TRUE(AddToRenameList(target.c_str(), NULL));
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "drivers", "y", WininitPath().c_str()));
    std::string text = ReadBytes(WininitPath());
    std::string section = "[rename]\r\nNUL=" + ShortName(target) + "\r\n";
    EXPECT_NE(text.find(section), std::string::npos) << text;
    EXPECT_NE(text.find("drivers=y"), std::string::npos) << text;
    // No spare bytes of the grown mapping are left at the end.
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(IniFixture, ReadOnlyFileIsRefusedAndUnchanged)
{
    WriteBytes(WininitPath(), "[rename]\r\n");
    SetFileAttributesA(WininitPath().c_str(), FILE_ATTRIBUTE_READONLY);
    // Wine keeps the attribute as a Unix mode, which root does not obey.
    HANDLE probe = CreateFileA(WininitPath().c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this platform opens read-only files for writing (Wine run as root)";
    }
    EXPECT_FALSE(AddToRenameList(target.c_str(), NULL));
    EXPECT_EQ(ReadBytes(WininitPath()), "[rename]\r\n");
}

TEST_F(IniFixture, FileHeldByAnotherProcessIsRefusedAndUnchanged)
{
    WriteBytes(WininitPath(), "[boot]\r\n");
    {
        HeldFile holder(WininitPath());
        ASSERT_TRUE(holder.held);
        EXPECT_FALSE(AddToRenameList(target.c_str(), NULL));
    }
    EXPECT_EQ(ReadBytes(WininitPath()), "[boot]\r\n");
}

TEST_F(IniFixture, PathWithoutShortFormWritesNothing)
{
    // A file that does not exist has no short name to give.
    EXPECT_FALSE(AddToRenameList((dir + "\\missing long name.dll").c_str(), NULL));
    EXPECT_FALSE(Exists(WininitPath()));
}

TEST_F(IniFixture, MoveFileExSuccessLeavesTheListAlone)
{
    EXPECT_TRUE(ScheduleDeleteAtRestart(target.c_str(), NULL));
    EXPECT_FALSE(Exists(WininitPath()));
}

void SetPendingList(const std::string &list)
{
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE *>(list.data()), static_cast<DWORD>(list.size()));
    RegCloseKey(key);
}

// Work queued before the run puts a file in place under the 8.3 alias of a package file's long
// name: deleted now, the file would come back, so it waits for the restart, after that work.
TEST_F(IniFixture, FileQueuedWorkPutsInPlaceByItsShortNameWaitsForTheRestart)
{
    std::string shortName = ShortName(target), before(65536, '\0');
    DWORD size = static_cast<DWORD>(before.size());
    before.resize(RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                               "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, NULL, &before[0], &size)
                      == ERROR_SUCCESS ? size : 0);
    for (PlatformKind kind : {PlatformKind::WinMe, PlatformKind::Win2000}) {
        if (kind == PlatformKind::WinMe)
            WriteBytes(WininitPath(), "[rename]\r\n" + shortName + "=C:\\U.NEW\r\n");
        std::string pairs = std::string("\\??\\C:\\u.new") + '\0' + "!\\??\\" + shortName + '\0' + '\0';
        if (kind == PlatformKind::Win2000)
            SetPendingList(pairs);
        StartSession(kind);
        EXPECT_EQ(DeleteOrSchedule(target.c_str()), Outcome::DeleteAtRestart) << static_cast<int>(kind);
        EXPECT_TRUE(Exists(target));
    }
    SetPendingList(before);
}

}  // namespace
