#include <gtest/gtest.h>

#include "registry/device_match.h"

namespace {

TEST(DeviceMatch, TokensAtTheStartOfTheDevicePartMatch)
{
    EXPECT_TRUE(IsTabletInstanceId("SERENUM\\TVR0D42\\1&2C4A1C9&0&0000"));
    EXPECT_TRUE(IsTabletInstanceId("USB\\VID_4F1D&PID_0021\\5&1A2B3C&0&1"));
    EXPECT_TRUE(IsTabletInstanceId("HID\\VID_4F1D&PID_0021&MI_00\\7&ABC&0&0000"));
    // Both tokens under every enumerator.
    EXPECT_TRUE(IsTabletInstanceId("USB\\TVR0D42\\1"));
    EXPECT_TRUE(IsTabletInstanceId("SERENUM\\VID_4F1D"));
    EXPECT_TRUE(IsTabletInstanceId("X\\TVR"));
}

TEST(DeviceMatch, CaseMatters)
{
    EXPECT_FALSE(IsTabletInstanceId("SERENUM\\tvr0d42\\1"));
    EXPECT_FALSE(IsTabletInstanceId("USB\\vid_4f1d&pid_0021\\1"));
    EXPECT_FALSE(IsTabletInstanceId("USB\\VID_4f1d&PID_0021\\1"));
    EXPECT_FALSE(IsTabletInstanceId("SERENUM\\Tvr0D42\\1"));
}

TEST(DeviceMatch, ElsewhereInTheIdDoesNotCount)
{
    EXPECT_FALSE(IsTabletInstanceId("SERENUM\\PNP0F0C\\TVR0D42"));
    EXPECT_FALSE(IsTabletInstanceId("USB\\ROOT_HUB\\VID_4F1D&PID_0021"));
    EXPECT_FALSE(IsTabletInstanceId("USB\\XVID_4F1D\\1"));
    EXPECT_FALSE(IsTabletInstanceId("TVR\\PNP0F0C\\1"));
    EXPECT_FALSE(IsTabletInstanceId("USB\\VID_046D&PID_C00E\\1"));
}

TEST(DeviceMatch, ShortOrBackslashlessIdsNeverMatch)
{
    EXPECT_FALSE(IsTabletInstanceId("TVR0D42"));
    EXPECT_FALSE(IsTabletInstanceId(""));
    EXPECT_FALSE(IsTabletInstanceId("SERENUM\\"));
    EXPECT_FALSE(IsTabletInstanceId("SERENUM\\TV"));
    EXPECT_FALSE(IsTabletInstanceId("USB\\VID_4F1"));
    // The first backslash decides, even when the device part is empty.
    EXPECT_FALSE(IsTabletInstanceId("SERENUM\\\\TVR0D42"));
}

} // namespace
