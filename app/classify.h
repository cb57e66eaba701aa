// Version classification, free of Win32 so the whole decision table is host-testable.
#ifndef PDCLEAN_APP_CLASSIFY_H
#define PDCLEAN_APP_CLASSIFY_H

#include "core/kinds.h"

// Platform ids as the version query reports them.
const unsigned long PlatformIdWindows = 1;
const unsigned long PlatformIdNT = 2;

// queried is false when the version query failed: nothing it left behind can be trusted,
// so the platform is unknown and gets refused. Only the low word of the build counts.
PlatformKind ClassifyPlatform(bool queried, unsigned long major, unsigned long minor,
                              unsigned long platformId, unsigned long buildNumber);

#endif
