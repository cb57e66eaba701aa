// The platform gate's whole decision table.
#include <gtest/gtest.h>

#include "app/classify.h"

namespace {

const unsigned long NT = PlatformIdNT;
const unsigned long W9x = PlatformIdWindows;

PlatformKind Classify(unsigned long major, unsigned long minor, unsigned long id,
                      unsigned long build)
{
    return ClassifyPlatform(true, major, minor, id, build);
}

TEST(ClassifyPlatform, SupportedReleases)
{
    EXPECT_EQ(Classify(5, 0, NT, 2195), PlatformKind::Win2000);
    EXPECT_EQ(Classify(4, 90, W9x, 3000), PlatformKind::WinMe);
    EXPECT_EQ(Classify(4, 90, W9x, 0x04035A00 | 3000), PlatformKind::WinMe);
}

TEST(ClassifyPlatform, Windows98IsRecognisedWhateverItsBuild)
{
    EXPECT_EQ(Classify(4, 10, W9x, 1998), PlatformKind::Win98);
    EXPECT_EQ(Classify(4, 10, W9x, 2222), PlatformKind::Win98);
    EXPECT_EQ(Classify(4, 10, W9x, 0), PlatformKind::Win98);
}

TEST(ClassifyPlatform, NT4WhateverItsBuild)
{
    EXPECT_EQ(Classify(4, 0, NT, 1381), PlatformKind::NT4);
    EXPECT_EQ(Classify(4, 0, NT, 950), PlatformKind::NT4);
}

TEST(ClassifyPlatform, Windows95BuildsByLowWord)
{
    EXPECT_EQ(Classify(4, 0, W9x, 950), PlatformKind::Win95);
    // 9x puts the version into the high word; only the low word is the build.
    EXPECT_EQ(Classify(4, 0, W9x, 0x040003B6), PlatformKind::Win95);
    EXPECT_EQ(Classify(4, 0, W9x, 0xFFFF03B6), PlatformKind::Win95);
    EXPECT_EQ(Classify(4, 0, W9x, 1111), PlatformKind::Win95OSR2);
    EXPECT_EQ(Classify(4, 0, W9x, 1212), PlatformKind::Win95OSR2);
    EXPECT_EQ(Classify(4, 0, W9x, 0xFFFF), PlatformKind::Win95OSR2);
    EXPECT_EQ(Classify(4, 0, W9x, 0x04000000 | 1214), PlatformKind::Win95OSR2);
}

TEST(ClassifyPlatform, Windows95BuildsBetweenTheReleasesAreUnknown)
{
    EXPECT_EQ(Classify(4, 0, W9x, 0), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 0, W9x, 949), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 0, W9x, 951), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 0, W9x, 1110), PlatformKind::Unknown);
    // A high word must not lift a low build into the OSR2 range.
    EXPECT_EQ(Classify(4, 0, W9x, 0x00010000 | 1110), PlatformKind::Unknown);
}

TEST(ClassifyPlatform, VersionsOnTheWrongPlatformAreUnknown)
{
    EXPECT_EQ(Classify(4, 10, NT, 1998), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 90, NT, 3000), PlatformKind::Unknown);
    EXPECT_EQ(Classify(5, 0, W9x, 2195), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 0, 0, 950), PlatformKind::Unknown);   // Win32s
    EXPECT_EQ(Classify(5, 0, 3, 2195), PlatformKind::Unknown);  // CE
}

TEST(ClassifyPlatform, OtherReleasesAreUnknown)
{
    EXPECT_EQ(Classify(3, 51, NT, 1057), PlatformKind::Unknown);
    EXPECT_EQ(Classify(5, 1, NT, 2600), PlatformKind::Unknown);
    EXPECT_EQ(Classify(5, 2, NT, 3790), PlatformKind::Unknown);
    EXPECT_EQ(Classify(6, 0, NT, 6000), PlatformKind::Unknown);
    EXPECT_EQ(Classify(10, 0, NT, 19045), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 1, W9x, 1998), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 3, NT, 1381), PlatformKind::Unknown);
    EXPECT_EQ(Classify(4, 91, W9x, 3000), PlatformKind::Unknown);
}

TEST(ClassifyPlatform, FailedQueryIsUnknownWhateverTheRecordHolds)
{
    EXPECT_EQ(ClassifyPlatform(false, 5, 0, NT, 2195), PlatformKind::Unknown);
    EXPECT_EQ(ClassifyPlatform(false, 4, 90, W9x, 3000), PlatformKind::Unknown);
    EXPECT_EQ(ClassifyPlatform(false, 0, 0, 0, 0), PlatformKind::Unknown);
}

}  // namespace
