// The whole run in this process, as Execute starts it: the report box it ends with, and
// the error mode it leaves behind on every road.
#include <gtest/gtest.h>

#include <string>

#include "core/session.h"
#include "res/resource.h"
#include "run/uninstall.h"
#include "tests/wine/win_test_util.h"
#include "tools/wine/delay_refusal.h"

namespace {

// The report texts as the program loads them from its own string table.
std::string Text(UINT id)
{
    char text[256];
    int n = LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

const std::string Title = Text(IDS_TITLE);
const std::string Done = Text(IDS_DONE);
const std::string DoneReboot = Text(IDS_DONE_REBOOT);
const std::string PartialError = Text(IDS_PARTIAL_ERROR);

const char PenTree[] = "System\\CurrentControlSet\\Services\\Class\\PEN";
const char TavroTree[] = "System\\CurrentControlSet\\Services\\Tavro";

// The mode the run must give back: one no test run sets itself.
const UINT CallerMode = SEM_NOGPFAULTERRORBOX;

struct RunSeen {
    BoxSeen box;
    UINT modeAfter;
    DWORD ms;
};

void RunOnce(void *)
{
    RunUninstall();
}

// A Windows Me session meets MoveFileEx's delay refused, as on Windows Me.
RunSeen Execute(PlatformKind kind)
{
    StartSession(kind);
    DelayRule rule;
    bool me = kind == PlatformKind::WinMe;
    EXPECT_EQ(me && RefuseDelay(&rule), me) << "Windows Me met MoveFileEx's delay allowed";
    SetErrorMode(CallerMode);
    DWORD start = GetTickCount();
    BoxSeen box = WithBoxAnswered(RunOnce, NULL);
    DWORD ms = GetTickCount() - start;
    UINT mode = SetErrorMode(0);
    if (me)
        RestoreDelay(rule);
    return {box, mode, ms};
}

// What a Windows Me run that schedules one file leaves in a fresh wininit.ini: the line the
// start-up processing acts on, with the file's 8.3 path.
std::string OneRenameLine(const std::string &path)
{
    return "[rename]\r\nNUL=" + ShortName(path) + "\r\n";
}

// A subkey whose name the tree walk cannot read, so the tree cannot be removed.
void AddLongSubkey(const char *tree = PenTree)
{
    HKEY key;
    std::wstring path = std::wstring(tree, tree + lstrlenA(tree)) + L"\\" + LongKeyName();
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void DropLongSubkey(const char *tree = PenTree)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, tree, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteKeyW(key, LongKeyName().c_str());
        RegCloseKey(key);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, tree);
}

TEST(Uninstall, WindowsMeWithNothingInstalledReportsDoneAfterNineRows)
{
    ASSERT_FALSE(Done.empty()); // the texts came from the string table
    RunSeen r = Execute(PlatformKind::WinMe);
    EXPECT_EQ(r.box.caption, Title);
    EXPECT_EQ(r.box.text, Done);
    EXPECT_EQ(r.box.icon, LoadIconA(NULL, IDI_INFORMATION));
    EXPECT_EQ(session.rowCount, 9);
    EXPECT_GE(r.ms, 9u * 50u - 20u); // GetTickCount's own granularity aside
    EXPECT_EQ(r.modeAfter, CallerMode);
}

TEST(Uninstall, WindowsMeWithAFailingItemReportsPartialErrorWithWarning)
{
    AddLongSubkey();
    RunSeen r = Execute(PlatformKind::WinMe);
    EXPECT_EQ(r.box.caption, Title);
    EXPECT_EQ(r.box.text, PartialError);
    EXPECT_EQ(r.box.icon, LoadIconA(NULL, IDI_WARNING));
    EXPECT_EQ(r.modeAfter, CallerMode);

    DropLongSubkey();
    RunSeen again = Execute(PlatformKind::WinMe);
    EXPECT_EQ(again.box.text, Done);
}

TEST(Uninstall, FileInUseIsScheduledInWininitAndReportedAsDoneAtRestart)
{
    std::string vxd = SystemDir() + "\\vavad.vxd";
    WriteBytes(vxd, "driver");
    DeleteFileA(WininitPath().c_str());
    {
        HeldFile held(vxd);
        ASSERT_TRUE(held.held);
        RunSeen r = Execute(PlatformKind::WinMe);
        EXPECT_TRUE(session.rebootPending);
        EXPECT_EQ(r.box.text, DoneReboot);
        EXPECT_EQ(r.box.icon, LoadIconA(NULL, IDI_INFORMATION));
        EXPECT_EQ(r.modeAfter, CallerMode);
        EXPECT_EQ(ReadBytes(WininitPath()), OneRenameLine(vxd));
    }
    DeleteFileA(vxd.c_str());
    DeleteFileA(WininitPath().c_str());
}

TEST(Uninstall, ErrorOutranksRestart)
{
    std::string vxd = SystemDir() + "\\vavad.vxd";
    WriteBytes(vxd, "driver");
    DeleteFileA(WininitPath().c_str());
    AddLongSubkey();
    {
        HeldFile held(vxd);
        ASSERT_TRUE(held.held);
        RunSeen r = Execute(PlatformKind::WinMe);
        EXPECT_TRUE(session.rebootPending);
        EXPECT_TRUE(session.errorSeen);
        EXPECT_EQ(r.box.text, PartialError);
        EXPECT_EQ(ReadBytes(WininitPath()), OneRenameLine(vxd));
    }
    DeleteFileA(vxd.c_str());
    DeleteFileA(WininitPath().c_str());
    DropLongSubkey();
}

TEST(Uninstall, Windows2000ReportsDone)
{
    RunSeen r = Execute(PlatformKind::Win2000);
    EXPECT_EQ(r.box.caption, Title);
    EXPECT_EQ(r.box.text, Done);
    EXPECT_EQ(session.rowCount, 0);
    EXPECT_EQ(r.modeAfter, CallerMode);
}

TEST(Uninstall, Windows2000FailuresReportPartialErrorWithWarning)
{
    // A tree of the NT plan that cannot be removed. (A file that can be neither deleted nor
    // scheduled: the run tests, with MoveFileEx made to refuse.)
    AddLongSubkey(TavroTree);
    RunSeen r = Execute(PlatformKind::Win2000);
    EXPECT_EQ(r.box.text, PartialError);
    EXPECT_EQ(r.box.icon, LoadIconA(NULL, IDI_WARNING));
    EXPECT_EQ(session.rowCount, 0);
    DropLongSubkey(TavroTree);
    EXPECT_EQ(Execute(PlatformKind::Win2000).box.text, Done);
}

TEST(Uninstall, StepThatStopsEndsWithoutReportAndGivesTheModeBack)
{
    // No plan exists for Windows 98: the file step stops as a plan that stopped would.
    RunSeen r = Execute(PlatformKind::Win98);
    EXPECT_EQ(r.box.caption, "");
    EXPECT_EQ(r.modeAfter, CallerMode);
}

} // namespace
