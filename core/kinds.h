// Classifications shared by every subsystem; free of Win32 so host tests can use them.
#ifndef PDCLEAN_CORE_KINDS_H
#define PDCLEAN_CORE_KINDS_H

enum class PlatformKind : int {
    Unknown = 0,
    NT4 = 1,
    Win98 = 2,
    Win95 = 3,
    Win95OSR2 = 4,
    Win2000 = 5,
    WinMe = 6,
};

// Result of one removal attempt.
enum class Outcome : int {
    Error = 1,
    Deleted = 2,
    NoFile = 3,
    DeleteAtRestart = 4,
    NoKey = 5,
    NoValue = 6,
    NoFolder = 7,
    DetectError = 8,
};

#endif
