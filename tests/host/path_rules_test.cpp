#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "files/path_rules.h"

namespace {

bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

TEST(PathRules, AbsentErrorsAreExactlyTheNotFoundOnes)
{
    EXPECT_TRUE(IsAbsentError(2));
    EXPECT_TRUE(IsAbsentError(3));
    EXPECT_TRUE(IsAbsentError(161));
    EXPECT_FALSE(IsAbsentError(0));
    EXPECT_FALSE(IsAbsentError(5));    // access denied
    EXPECT_FALSE(IsAbsentError(32));   // sharing violation
    EXPECT_FALSE(IsAbsentError(123));  // bad name syntax
}

TEST(PathRules, JoinFitsExactlyOrRefuses)
{
    char out[8];
    EXPECT_TRUE(JoinPath(out, sizeof out, "C:", "abcd"));  // 7 characters and the zero
    EXPECT_STREQ(out, "C:\\abcd");
    EXPECT_FALSE(JoinPath(out, sizeof out, "C:", "abcde"));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(JoinPath(out, sizeof out, "C:\\a\\b\\c\\d", "e"));
    std::string dir(258, 'd');
    char path[260];
    EXPECT_TRUE(JoinPath(path, sizeof path, dir.c_str(), ""));
    EXPECT_FALSE(JoinPath(path, sizeof path, dir.c_str(), "*"));
    EXPECT_TRUE(ConcatPath(out, sizeof out, "C:\\", "abcd"));
    EXPECT_STREQ(out, "C:\\abcd");
    EXPECT_FALSE(ConcatPath(out, sizeof out, "C:\\", "abcde"));
}

TEST(PathRules, LinksAreNeverWalkedUnreadableEntriesAre)
{
    EXPECT_EQ(ClassifyTreeEntry(0x10), TreeEntry::Directory);
    EXPECT_EQ(ClassifyTreeEntry(0x10 | 0x1 | 0x2), TreeEntry::Directory);
    EXPECT_EQ(ClassifyTreeEntry(0x20), TreeEntry::File);
    EXPECT_EQ(ClassifyTreeEntry(0x80), TreeEntry::File);
    EXPECT_EQ(ClassifyTreeEntry(0x10 | 0x400), TreeEntry::DirectoryLink);
    EXPECT_EQ(ClassifyTreeEntry(0x20 | 0x400), TreeEntry::FileLink);
    EXPECT_EQ(ClassifyTreeEntry(0xFFFFFFFFul), TreeEntry::Directory);
}

TEST(PathRules, ShortPathsAreEightDotThreeInEveryComponent)
{
    EXPECT_TRUE(IsShortPath("C:\\WINDOWS\\SYSTEM\\VAVAD.VXD", Cp932Lead));
    EXPECT_TRUE(IsShortPath("C:\\PROGRA~1\\A.B", Cp932Lead));
    EXPECT_TRUE(IsShortPath("C:\\12345678.123", Cp932Lead));
    EXPECT_TRUE(IsShortPath("\\\\SERVER\\SHARE\\X", Cp932Lead));
    EXPECT_FALSE(IsShortPath("C:\\123456789", Cp932Lead));
    EXPECT_FALSE(IsShortPath("C:\\A.1234", Cp932Lead));
    EXPECT_FALSE(IsShortPath("C:\\Program Files\\x", Cp932Lead));
    EXPECT_FALSE(IsShortPath("C:\\A.B.C", Cp932Lead));
    EXPECT_FALSE(IsShortPath("C:\\.BASHRC", Cp932Lead));
    EXPECT_FALSE(IsShortPath("", Cp932Lead));
}

TEST(PathRules, ShortPathsCountDoubleByteCharactersAsTwo)
{
    // "ソ" is 0x83 0x5C: its trail byte is no backslash.
    EXPECT_TRUE(IsShortPath("C:\\\x83\x5C\x83\x74\x83\x67.TXT", Cp932Lead));      // 6 bytes
    EXPECT_TRUE(IsShortPath("C:\\\x83\x5C\x83\x74\x83\x67\x83\x5C", Cp932Lead));   // 8 bytes
    EXPECT_FALSE(IsShortPath("C:\\\x83\x5C\x83\x74\x83\x67\x83\x5CX", Cp932Lead)); // 9 bytes
    EXPECT_FALSE(IsShortPath("C:\\AB\x83", Cp932Lead));  // lead byte without its trail
}

TEST(PathRules, TreeTargetsExcludeRootsAndDotComponents)
{
    for (const char *refused : {"", "\\", "/", "\\\\", "C:", "c:\\", "Z:/", "C:\\\\",
                                "\\\\server", "\\\\server\\share", "\\\\server\\share\\",
                                "C:\\a\\..", "C:\\a\\..\\b", "C:\\.", ".", "..\\x", "C:\\a/./b",
                                "C:\\a\x81"}) {  // a lead byte without its trail byte
        EXPECT_FALSE(IsTreeTarget(refused, Cp932Lead)) << refused;
    }
    for (const char *accepted : {"C:\\WINDOWS\\Temp\\pd", "\\\\server\\share\\dir", "C:\\...\\x",
                                 "C:\\a.\\b", "\\dir", "C:dir",
                                 "C:\\\x95\\.", // "\x95\\" is one character, ending in a backslash byte
                                 "C:\\\x81\x2e\x2e"}) {
        EXPECT_TRUE(IsTreeTarget(accepted, Cp932Lead)) << accepted;
    }
}

TEST(PathRules, OemInfNamesAreExactlyTheSetupApisShape)
{
    for (const char *copy : {"oem0.inf", "OEM12.INF", "Oem7.Inf", "oem2000000000.inf",
                             "oem99999999999999999999999.inf", "oem007.inf"})
        EXPECT_TRUE(IsOemInfName(copy)) << copy;
    for (const char *other : {"oem.inf", "oem1a.inf", "oem-1.inf", "oem1.inf.bak", "oem1.infx",
                              "oem1.pnf", "oem1inf", "xoem1.inf", "oem 1.inf", "oem1 .inf",
                              "oem\x82\x4f.inf", "oem1.in", "", "oem"})  // "\x82\x4f" is a full-width 0
        EXPECT_FALSE(IsOemInfName(other)) << other;
}

}  // namespace
