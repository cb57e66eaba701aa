#include "core/library.h"

#include <string.h>

bool LookupFunctions(HMODULE library, const char *const names[], int count, void *functions)
{
    bool all = true;
    for (int i = 0; i < count; ++i) {
        FARPROC function = GetProcAddress(library, names[i]);
        all = all && function != NULL;
        // Copied, not cast: the slots are typed pointers of the same size as FARPROC.
        memcpy(static_cast<char *>(functions) + i * sizeof function, &function, sizeof function);
    }
    return all;
}
