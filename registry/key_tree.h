#ifndef PDCLEAN_REGISTRY_KEY_TREE_H
#define PDCLEAN_REGISTRY_KEY_TREE_H

#include <windows.h>

#include "core/kinds.h"

// Walks the first-subkey chain of root\path, opening each key for deletion; changes
// nothing. ERROR_NO_MORE_ITEMS when the whole chain opened, else the first error met;
// ERROR_STACK_OVERFLOW for a chain more than 512 levels below root\path.
LONG ProbeKeyTree(HKEY root, const char *path);

// Deletes root\path with everything below it, deepest keys first. Stops at the first
// failure: what was removed stays removed, the rest stays. A subkey more than 512 levels
// below root\path is such a failure (ERROR_STACK_OVERFLOW), found before its chain is cut.
LONG DeleteKeyTree(HKEY root, const char *path);

// A whole tree: Deleted, NoKey when it is not there, Error when it could not be removed.
Outcome RemoveRegistryTree(HKEY root, const char *path);

// One value of root\path: Deleted, NoValue when it is not there, Error when the key cannot
// be opened or the value not deleted.
Outcome RemoveValue(HKEY root, const char *path, const char *name);

// The registry's "not there" errors for a key or value (file not found, bad key).
bool IsAbsentKeyError(LONG error);

#endif
