#include "core/library.h"

#include <string.h>

HMODULE LoadFunctions(const char *library, const char *const names[], int count,
                      void *functions)
{
    HMODULE module = LoadLibraryA(library);
    if (module == NULL)
        return NULL;
    bool all = true;
    for (int i = 0; i < count; ++i) {
        FARPROC function = GetProcAddress(module, names[i]);
        all = all && function != NULL;
        // Copied, not cast: the slots are typed pointers of the same size as FARPROC.
        memcpy(static_cast<char *>(functions) + i * sizeof function, &function, sizeof function);
    }
    if (all)
        return module;
    FreeLibrary(module);
    return NULL;
}
