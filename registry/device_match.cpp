#include "registry/device_match.h"

// Stops at the text's terminator, so a text shorter than the token never matches.
static bool BeginsWith(const char *text, const char *token)
{
    for (; *token != '\0'; ++text, ++token) {
        if (*text != *token)
            return false;
    }
    return true;
}

bool IsTabletInstanceId(const char *instanceId)
{
    const char *p = instanceId;
    while (*p != '\0' && *p != '\\')
        ++p;
    if (*p == '\0')
        return false;
    ++p;
    return BeginsWith(p, "TVR") || BeginsWith(p, "VID_4F1D");
}
