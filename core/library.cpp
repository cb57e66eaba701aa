#include "core/library.h"

#include <string.h>

#include "core/text.h"

HMODULE LoadSystemLibrary(const char *name)
{
    char directory[MAX_PATH], path[MAX_PATH];
    UINT n = GetSystemDirectoryA(directory, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !JoinPath(path, MAX_PATH, directory, name))
        return NULL;
    // A bare name is looked for in the program's folder first: for an uninstaller run as an
    // administrator, that is wherever the user unpacked it.
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadFunctions(const char *library, const char *const names[], int count,
                      void *functions)
{
    HMODULE module = LoadSystemLibrary(library);
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
