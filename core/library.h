// System libraries, and functions of them looked up by name at run time, so the program
// loads on systems that lack the library (a plain Windows 95 has no 32-bit setupapi.dll).
#ifndef PDCLEAN_CORE_LIBRARY_H
#define PDCLEAN_CORE_LIBRARY_H

#include <windows.h>

// Loads a library of the system by its full path in the system folder, never one that lies
// in the program's folder or the current directory; the libraries it needs are looked for
// in the system folder first too. NULL when it is not there or the path cannot be made.
HMODULE LoadSystemLibrary(const char *name);

// Loads the system library and fills functions, a struct holding only function pointers in
// the order of names (count of them), looking every name up before any is tested. Returns
// the library, for the caller to free, when it and every function were found; else NULL,
// with nothing held.
HMODULE LoadFunctions(const char *library, const char *const names[], int count,
                      void *functions);

#endif
