// Functions of a system library looked up by name at run time, so the program loads on
// systems that lack the library (a plain Windows 95 has no 32-bit setupapi.dll).
#ifndef PDCLEAN_CORE_LIBRARY_H
#define PDCLEAN_CORE_LIBRARY_H

#include <windows.h>

// Loads the library and fills functions, a struct holding only function pointers in the
// order of names (count of them), looking every name up before any is tested. Returns the
// library, for the caller to free, when it and every function were found; else NULL, with
// nothing held.
HMODULE LoadFunctions(const char *library, const char *const names[], int count,
                      void *functions);

#endif
