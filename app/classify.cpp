#include "app/classify.h"

PlatformKind ClassifyPlatform(bool queried, unsigned long major, unsigned long minor,
                              unsigned long platformId, unsigned long buildNumber)
{
    if (!queried)
        return PlatformKind::Unknown;
    unsigned long build = buildNumber & 0xFFFF;
    if (platformId == PlatformIdNT) {
        if (major == 5 && minor == 0)
            return PlatformKind::Win2000;
        if (major == 4 && minor == 0)
            return PlatformKind::NT4;
        return PlatformKind::Unknown;
    }
    if (platformId != PlatformIdWindows || major != 4)
        return PlatformKind::Unknown;
    if (minor == 10)
        return PlatformKind::Win98;
    if (minor == 90)
        return PlatformKind::WinMe;
    if (minor == 0 && build == 950)
        return PlatformKind::Win95;
    if (minor == 0 && build >= 1111)
        return PlatformKind::Win95OSR2;
    // 4.0 builds 951..1110 match no known release.
    return PlatformKind::Unknown;
}
