// The wininit.ini edit, whole files compared byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "files/rename_list.h"

namespace {

const std::string LineA = "NUL=C:\\WINDOWS\\SYSTEM\\VAVAD.VXD\r\n";
const std::string LineB = "NUL=C:\\WINDOWS\\PDCLEAN.EXE\r\n";

// Runs the edit as the mapping does: old bytes, then exactly the room the edit may need.
std::string Insert(const std::string &old, const std::string &line)
{
    std::string buffer = old + std::string(line.size() + RenameEditSpare, '\x7f');
    size_t n = InsertRenameEntry(&buffer[0], old.size(), buffer.size(), line.data(), line.size());
    EXPECT_GT(n, 0u);
    return buffer.substr(0, n);
}

TEST(RenameList, EmptyOrMissingFileGetsHeaderAndLine)
{
    EXPECT_EQ(Insert("", LineA), "[rename]\r\n" + LineA);
}

TEST(RenameList, LineGoesLastInTheSectionBeforeTheNextOne)
{
    // The start-up processing works from the top down: an older line that puts a file in
    // place must come before the deletion of it. A line opens a section by its first byte
    // after blanks.
    std::string head = "[boot]\r\nx=1\r\n[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n \tNUL=[B]\r\n\r\n";
    EXPECT_EQ(Insert(head + "[other]\r\ny=2\r\n", LineA), head + LineA + "[other]\r\ny=2\r\n");
    EXPECT_EQ(Insert(head + "\t [other]\r\n", LineA), head + LineA + "\t [other]\r\n");
}

TEST(RenameList, SecondEntryStandsBelowTheFirst)
{
    EXPECT_EQ(Insert(Insert("", LineA), LineB), "[rename]\r\n" + LineA + LineB);
}

TEST(RenameList, HeaderAsLastLineGetsTheEntryAsNewLastLine)
{
    EXPECT_EQ(Insert("[x]\r\n[rename]\r\n", LineA), "[x]\r\n[rename]\r\n" + LineA);
}

TEST(RenameList, FirstHeaderByPositionTakesTheEntryInAnyLetterCase)
{
    // The start-up processing reads only the first section so named.
    std::string old = "[Rename]\r\nNUL=A\r\n[rename]\r\nNUL=B\r\n";
    EXPECT_EQ(Insert(old, LineA), "[Rename]\r\nNUL=A\r\n" + LineA + "[rename]\r\nNUL=B\r\n");
    EXPECT_EQ(Insert("[RENAME]\r\nNUL=X\r\n", LineA), "[RENAME]\r\nNUL=X\r\n" + LineA);
    EXPECT_EQ(Insert("[x]\r\n[ReNaMe]\r\n[rename]\r\n", LineA),
              "[x]\r\n[ReNaMe]\r\n" + LineA + "[rename]\r\n");
}

TEST(RenameList, HeaderLineMayEndInALineFeedAndHaveBlanksAround)
{
    // The start-up processing takes these for its header too.
    EXPECT_EQ(Insert("[rename]\nNUL=X\n", LineA), "[rename]\nNUL=X\n" + LineA);
    EXPECT_EQ(Insert("[boot]\r\n \t[Rename] \r\nNUL=X\r\n[rename]\r\n", LineA),
              "[boot]\r\n \t[Rename] \r\nNUL=X\r\n" + LineA + "[rename]\r\n");
    EXPECT_EQ(Insert("[x]\n[rename]\t\n", LineA), "[x]\n[rename]\t\n" + LineA);
    EXPECT_EQ(Insert("x=1\r\n [RENAME] ", LineA), "x=1\r\n [RENAME] \r\n" + LineA);
}

TEST(RenameList, UnrecognisedHeadersGetANewSectionAppended)
{
    for (std::string old : {"[renamed]\r\n", "[ rename]\r\n", "[rename]x\r\n", "[rename]\r\r\n"}) {
        SCOPED_TRACE(old);
        EXPECT_EQ(Insert(old, LineA), old + "[rename]\r\n" + LineA);
    }
}

TEST(RenameList, HeaderCountsOnlyAtTheStartOfALine)
{
    // After another key's "=", in a comment, or from the trail byte of a double-byte
    // character ("\x81\x5b" is one character in code page 932): none is a header.
    for (std::string old : {"x=[rename]\r\n", ";[rename]\r\n", "\x81[rename]\r\n"}) {
        SCOPED_TRACE(old);
        EXPECT_EQ(Insert(old, LineA), old + "[rename]\r\n" + LineA);
    }
    EXPECT_EQ(Insert(";[rename]\r\n[rename]\r\nNUL=X\r\n", LineA),
              ";[rename]\r\n[rename]\r\nNUL=X\r\n" + LineA);
}

TEST(RenameList, SectionsLastLineWithoutLineBreakGetsOne)
{
    EXPECT_EQ(Insert("[rename]\r\nNUL=X", LineA), "[rename]\r\nNUL=X\r\n" + LineA);
    EXPECT_EQ(Insert("[x]\r\n[rename]", LineA), "[x]\r\n[rename]\r\n" + LineA);
    EXPECT_EQ(Insert("[RENAME]", LineA), "[RENAME]\r\n" + LineA);
    EXPECT_EQ(Insert("[rename]\x1a", LineA), "[rename]\r\n" + LineA + "\x1a");
}

TEST(RenameList, TextEndsAtZeroOrControlZAndTheEntryGoesBeforeIt)
{
    std::string zero("a\r\n\0[rename]\r\n", 15);
    EXPECT_EQ(Insert(zero, LineA), "a\r\n[rename]\r\n" + LineA + zero.substr(3));
    EXPECT_EQ(Insert("[boot]\r\nx=1\r\n\x1a", LineA),
              "[boot]\r\nx=1\r\n[rename]\r\n" + LineA + "\x1a");
    EXPECT_EQ(Insert("x=1\x1a[rename]\r\n", LineA),
              "x=1\r\n[rename]\r\n" + LineA + "\x1a[rename]\r\n");
    // The section ends there too, and the entry goes before the mark.
    EXPECT_EQ(Insert("[rename]\r\nNUL=X\x1a[x]\r\n", LineA),
              "[rename]\r\nNUL=X\r\n" + LineA + "\x1a[x]\r\n");
    std::string zeroAfter("[rename]\r\nNUL=X\r\n\0[x]\r\n", 22);
    EXPECT_EQ(Insert(zeroAfter, LineA), zeroAfter.substr(0, 17) + LineA + zeroAfter.substr(17));
}

TEST(RenameList, Utf16FileIsNotEdited)
{
    for (std::string old : {std::string("\xff\xfe[\0r\0", 6), std::string("\xfe\xff\0[\0r", 6)}) {
        std::string buffer = old + std::string(LineA.size() + RenameEditSpare, '#');
        std::string before = buffer;
        EXPECT_EQ(InsertRenameEntry(&buffer[0], old.size(), buffer.size(), LineA.data(),
                                    LineA.size()),
                  0u);
        EXPECT_EQ(buffer, before);
    }
}

TEST(RenameList, UnfinishedLastLineIsEndedBeforeTheHeader)
{
    EXPECT_EQ(Insert("[boot]\r\nx=1", LineA), "[boot]\r\nx=1\r\n[rename]\r\n" + LineA);
    // A bare line feed ends a line too.
    EXPECT_EQ(Insert("x=1\n", LineA), "x=1\n[rename]\r\n" + LineA);
}

TEST(RenameList, TooLittleRoomWritesNothing)
{
    std::string old = "[rename]\r\n";
    std::string buffer = old + std::string(LineA.size() + RenameEditSpare - 1, '#');
    std::string before = buffer;
    EXPECT_EQ(InsertRenameEntry(&buffer[0], old.size(), buffer.size(), LineA.data(), LineA.size()),
              0u);
    EXPECT_EQ(buffer, before);
    // Sizes that would wrap around are refused, not computed.
    EXPECT_EQ(InsertRenameEntry(&buffer[0], SIZE_MAX - 2, SIZE_MAX, LineA.data(), LineA.size()), 0u);
    EXPECT_EQ(InsertRenameEntry(&buffer[0], 4, 8, LineA.data(), SIZE_MAX), 0u);
}

// Whether work queued for the restart will put a file at the path (long or 8.3), in
// wininit.ini's first [rename] section (Me) or NT's list of pairs, source then target.
TEST(RenameList, QueuedWorkThatPutsAFileInPlaceIsFound)
{
    const char *const Long = "C:\\WINNT\\system32\\stylhook.dll", *const Short = "C:\\WINNT\\SYSTEM32\\STYLHO~1.DLL";
    const std::string Nt = std::string("\\??\\C:\\u.new\0", 13);
    struct Row {
        bool me;
        std::string list;
        bool found;
    } rows[] = {
        {false, Nt + "!\\??\\C:\\WINNT\\System32\\STYLHOOK.DLL" + '\0' + '\0', true},  // any case
        {false, Nt + "\\??\\C:\\WINNT\\system32\\stylhook.dll" + '\0' + '\0', true},   // no "!"
        {false, Nt + "!\\??\\" + Short + '\0' + '\0', true},                           // 8.3 name
        {false, Nt + "!" + Long + '\0' + '\0', false},                  // without "\??\"
        {false, std::string("\\??\\") + Long + '\0' + '\0' + Nt + "!\\??\\x" + '\0' + '\0', false},  // its deletion
        {false, Nt + "!\\??\\" + Long + ".old" + '\0' + '\0', false},   // only begins with it
        {false, std::string("\\??\\") + Long + '\0' + "!\\??\\C:\\x" + '\0' + '\0', false},  // it moves away
        {false, Nt + "!\\??\\C:\\x" + '\0' + Nt + "!\\??\\" + Long, true},  // last pair cut short
        {false, Nt + "!\\??\\" + std::string(Long).substr(0, 20), false},   // cut inside the name
        {false, Nt, false},                                                 // no target at all
        {true, std::string("[Rename]\r\nNUL=") + Short + "\r\n" + Short + "=C:\\U.NEW\r\n", true},
        {true, std::string(" [rename] \n ") + Long + " =C:\\U.NEW\n", true},  // lenient, long name
        {true, std::string("[rename]\r\nNUL=") + Short + "\r\n[boot]\r\n" + Short + "=C:\\U.NEW\r\n", false},
        {true, std::string("[rename]\r\n") + Short + ".OLD=C:\\U.NEW\r\n" + Short + "\r\n", false},
        {true, std::string("[rename]\r\n\x1a") + Short + "=C:\\U.NEW\r\n", false},  // after ^Z
    };
    for (const Row &row : rows) {
        bool found = row.me ? RenameListReplaces(row.list.data(), row.list.size(), Long, Short)
                            : PendingListReplaces(row.list.data(), row.list.size(), Long, Short);
        EXPECT_EQ(found, row.found) << row.list;
    }
    std::string nameless = "[rename]\r\n=C:\\U.NEW\r\n";
    EXPECT_FALSE(RenameListReplaces(nameless.data(), nameless.size(), Long, ""));  // no short path: no match
}

}  // namespace
