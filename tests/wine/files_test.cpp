// Deletion primitives and the recorder on the real file system of a Wine prefix.
#include <gtest/gtest.h>

#include "core/recorder.h"
#include "core/session.h"
#include "files/primitives.h"
#include "tests/wine/win_test_util.h"

namespace {

TEST(DeleteFileEntry, ReadOnlyAndHiddenFilesAreDeleted)
{
    std::string dir = ScratchDir("primitives_attrs");
    for (DWORD attributes : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                             FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}) {
        std::string path = dir + "\\f.txt";
        WriteBytes(path, "x");
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
        EXPECT_EQ(DeleteFileEntry(path.c_str()), Outcome::Deleted) << attributes;
        EXPECT_FALSE(Exists(path));
    }
}

TEST(DeleteFileEntry, MissingFileAndMissingDirectoryAreNoFile)
{
    std::string dir = ScratchDir("primitives_missing");
    EXPECT_EQ(DeleteFileEntry((dir + "\\none.txt").c_str()), Outcome::NoFile);
    EXPECT_EQ(DeleteFileEntry((dir + "\\nodir\\none.txt").c_str()), Outcome::NoFile);
    EXPECT_TRUE(PrepareForDelete((dir + "\\nodir\\none.txt").c_str()));
    EXPECT_EQ(DeleteOrSchedule((dir + "\\none.txt").c_str()), Outcome::NoFile);
}

TEST(DeleteFileEntry, FileHeldByAnotherProcessIsError)
{
    std::string path = ScratchDir("primitives_held") + "\\held.dll";
    WriteBytes(path, "MZ");
    HeldFile holder(path);
    ASSERT_TRUE(holder.held);
    EXPECT_EQ(DeleteFileEntry(path.c_str()), Outcome::Error);
    EXPECT_TRUE(Exists(path));
}

TEST(DeleteOrSchedule, HeldFileIsScheduledAndMarksTheRebootPending)
{
    std::string path = ScratchDir("primitives_schedule") + "\\held.dll";
    WriteBytes(path, "MZ");
    session.rebootPending = false;
    {
        HeldFile holder(path);
        ASSERT_TRUE(holder.held);
        EXPECT_EQ(DeleteOrSchedule(path.c_str()), Outcome::DeleteAtRestart);
    }
    EXPECT_TRUE(session.rebootPending);
    EXPECT_TRUE(Exists(path));
    session.rebootPending = false;
}

TEST(DeleteOrSchedule, DeletableFileIsDeletedNotScheduled)
{
    std::string path = ScratchDir("primitives_plain") + "\\a.txt";
    WriteBytes(path, "a");
    session.rebootPending = false;
    EXPECT_EQ(DeleteOrSchedule(path.c_str()), Outcome::Deleted);
    EXPECT_FALSE(session.rebootPending);
}

TEST(RecordOutcome, CountsRowsFlagsErrorsAndPacesEachRow)
{
    StartSession(PlatformKind::WinMe);
    DWORD start = GetTickCount();
    RecordOutcome("C:\\a", Outcome::NoFile);
    RecordOutcome("C:\\b", Outcome::NoKey);
    RecordOutcome("C:\\c", Outcome::NoValue);
    RecordOutcome("C:\\d", Outcome::NoFolder);
    RecordOutcome("C:\\e", static_cast<Outcome>(0));
    RecordOutcome("C:\\f", static_cast<Outcome>(9));
    EXPECT_FALSE(session.errorSeen);
    RecordOutcome("C:\\g", Outcome::DetectError);
    EXPECT_TRUE(session.errorSeen);
    session.errorSeen = false;
    RecordOutcome("C:\\h", Outcome::Error);
    EXPECT_TRUE(session.errorSeen);
    EXPECT_EQ(session.rowCount, 8);
    // Sleep may wake a tick early; 8 rows of 50 ms each.
    EXPECT_GE(GetTickCount() - start, 8u * 50u - 16u);
    session.errorSeen = false;
    session.rowCount = 0;
}

}  // namespace
