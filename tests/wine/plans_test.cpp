// The file plans on the prefix's own Windows and system directories, as Windows Me and 2000.
#include <gtest/gtest.h>

#include "core/session.h"
#include "files/plans.h"
#include "tests/wine/win_test_util.h"

namespace {

const char *const System9x[] = {"vavad.vxd", "styinst.dll", "styins16.dll"};
const char *const Windows9x[] = {"inf\\other\\tavrotablet.inf", "pdclean.exe"};
const char *const SystemNT[] = {"drivers\\digclass.sys", "stylhook.dll", "digcls32.dll",
                                "stycp-en.znc", "stycp-jp.znc", "vavad.cpl", "vavad.exe",
                                "tavro.dat", "wintab32.dll", "wintab.dll"};
const char *const WindowsNT[] = {"inf\\vavad.inf", "inf\\vavad.pnf", "pdclean.exe"};

std::string Inf(int n, const char *ext)
{
    return WindowsDir() + "\\inf\\oem" + std::to_string(n) + ext;
}

void WriteOemInf(int n, const char *cls)
{
    WriteBytes(Inf(n, ".inf"), std::string("[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=") + cls +
                                   "\r\nProvider=%P%\r\n\r\n[Strings]\r\nP=\"Test\"\r\n");
    WriteBytes(Inf(n, ".pnf"), "PNF");
}

void ClearOemInfs()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WindowsDir() + "\\inf\\oem*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        DeleteFileA((WindowsDir() + "\\inf\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
}

TEST(FilePlan9x, RemovesThePackageFilesAndRecordsEachAttempt)
{
    CreateDirectoryA((WindowsDir() + "\\inf\\other").c_str(), NULL);
    for (const char *f : System9x)
        WriteBytes(SystemDir() + "\\" + f, f);
    for (const char *f : Windows9x)
        WriteBytes(WindowsDir() + "\\" + f, f);
    SetFileAttributesA((SystemDir() + "\\vavad.vxd").c_str(), FILE_ATTRIBUTE_READONLY);
    StartSession(PlatformKind::WinMe);
    EXPECT_TRUE(RunFilePlan9x());
    for (const char *f : System9x)
        EXPECT_FALSE(Exists(SystemDir() + "\\" + f)) << f;
    for (const char *f : Windows9x)
        EXPECT_FALSE(Exists(WindowsDir() + "\\" + f)) << f;
    EXPECT_EQ(session.rowCount, 5);
    EXPECT_FALSE(session.errorSeen);
    EXPECT_FALSE(session.rebootPending);
}

TEST(FilePlan9x, NothingInstalledRecordsFiveRowsWithoutError)
{
    StartSession(PlatformKind::WinMe);
    EXPECT_TRUE(RunFilePlan9x());
    EXPECT_EQ(session.rowCount, 5);
    EXPECT_FALSE(session.errorSeen);
}

TEST(FilePlanNT, RemovesThePackageFilesAndRecordsNothing)
{
    ClearOemInfs();
    for (const char *f : SystemNT)
        WriteBytes(SystemDir() + "\\" + f, f);
    for (const char *f : WindowsNT)
        WriteBytes(WindowsDir() + "\\" + f, f);
    StartSession(PlatformKind::Win2000);
    EXPECT_TRUE(RunFilePlanNT());
    for (const char *f : SystemNT)
        EXPECT_FALSE(Exists(SystemDir() + "\\" + f)) << f;
    for (const char *f : WindowsNT)
        EXPECT_FALSE(Exists(WindowsDir() + "\\" + f)) << f;
    EXPECT_EQ(session.rowCount, 0);
    StartSession(PlatformKind::Win2000);
    EXPECT_TRUE(RunFilePlanNT());  // absent now: nothing to report, nothing fails
}

// Whatever the numbers' gaps: the system reads every INF in the folder.
TEST(SweepOemInfs, RemovesPenCopiesAndTwinsWhateverTheirNumber)
{
    for (bool oem0 : {true, false}) {
        ClearOemInfs();
        if (oem0)
            WriteOemInf(0, "PEN");
        WriteOemInf(1, "Mouse");
        WriteOemInf(2, "PEN");
        DeleteFileA(Inf(2, ".pnf").c_str());  // a missing twin does not stop the sweep
        WriteOemInf(4, "PEN");                // behind the gap at 3
        WriteOemInf(2000000000, "PEN");
        WriteBytes(WindowsDir() + "\\inf\\oemx.inf", ReadBytes(Inf(4, ".inf")));  // not the setup API's
        StartSession(PlatformKind::Win2000);
        SweepOemInfs((WindowsDir() + "\\inf\\").c_str());
        EXPECT_FALSE(session.errorSeen);
        for (int n : {0, 2, 4, 2000000000}) {
            EXPECT_FALSE(Exists(Inf(n, ".inf"))) << n;
            EXPECT_FALSE(Exists(Inf(n, ".pnf"))) << n;
        }
        EXPECT_TRUE(Exists(Inf(1, ".inf")));  // another class, though Wine opens it as PEN
        EXPECT_TRUE(Exists(Inf(1, ".pnf")));
        EXPECT_TRUE(Exists(WindowsDir() + "\\inf\\oemx.inf"));
    }
    ClearOemInfs();
}

TEST(SweepOemInfs, InfInUseIsScheduledForRestart)
{
    ClearOemInfs();
    WriteOemInf(0, "PEN");
    StartSession(PlatformKind::Win2000);
    {
        // Readable, as a driver's INF in use is, but not deletable.
        HeldFile holder(Inf(0, ".inf"), FILE_SHARE_READ);
        ASSERT_TRUE(holder.held);
        SweepOemInfs((WindowsDir() + "\\inf\\").c_str());
    }
    EXPECT_TRUE(Exists(Inf(0, ".inf")));
    EXPECT_FALSE(Exists(Inf(0, ".pnf")));
    EXPECT_TRUE(session.rebootPending);
    ClearOemInfs();
}

TEST(SweepOemInfs, CopyThatCannotBeReadIsAnErrorAndTheOthersGo)
{
    ClearOemInfs();
    for (int n = 0; n < 3; ++n)
        WriteOemInf(n, "PEN");
    StartSession(PlatformKind::Win2000);
    {
        HeldFile holder(Inf(1, ".inf"), 0);
        ASSERT_TRUE(holder.held);
        SweepOemInfs((WindowsDir() + "\\inf\\").c_str());
    }
    EXPECT_TRUE(session.errorSeen);
    EXPECT_TRUE(Exists(Inf(1, ".inf")));
    EXPECT_TRUE(Exists(Inf(1, ".pnf")));
    for (int n : {0, 2}) {
        EXPECT_FALSE(Exists(Inf(n, ".inf"))) << n;
        EXPECT_FALSE(Exists(Inf(n, ".pnf"))) << n;
    }
    ClearOemInfs();
}

TEST(SweepOemInfs, BrokenOrOldStyleInfIsPassedOverWithoutError)
{
    ClearOemInfs();
    WriteOemInf(0, "PEN");
    WriteBytes(Inf(1, ".inf"), "[Version\r\nSignature=\"$Windows NT$\"\r\nClass=PEN\r\n");
    WriteBytes(Inf(2, ".inf"), "[Version]\r\nClass=PEN\r\n");  // no signature: old style
    WriteOemInf(3, "PEN");
    StartSession(PlatformKind::Win2000);
    SweepOemInfs((WindowsDir() + "\\inf\\").c_str());
    EXPECT_FALSE(session.errorSeen);
    EXPECT_FALSE(Exists(Inf(0, ".inf")));
    EXPECT_TRUE(Exists(Inf(1, ".inf")));
    EXPECT_TRUE(Exists(Inf(2, ".inf")));
    EXPECT_FALSE(Exists(Inf(3, ".inf")));
    ClearOemInfs();
}

void ComposeTooLong(void *ok)
{
    std::string base(1000, 'b');
    std::string entry(23, 'e');  // 1023 characters together: one too many
    char path[1024];
    *static_cast<bool *>(ok) = ComposePlanItem(path, base.c_str(), entry.c_str());
}

TEST(ComposePlanItem, PathReaching1023CharactersShowsTheBufferError)
{
    char path[1024];
    std::string base(1000, 'b');
    EXPECT_TRUE(ComposePlanItem(path, base.c_str(), std::string(22, 'e').c_str()));
    EXPECT_EQ(std::string(path).size(), 1022u);
    session.mainWindow = NULL;
    bool ok = true;
    BoxSeen box = WithBoxAnswered(ComposeTooLong, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "ﾊﾞｯﾌｧｴﾗｰ");
    EXPECT_TRUE(box.iconShown);
}

}  // namespace
