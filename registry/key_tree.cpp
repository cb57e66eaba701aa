#include "registry/key_tree.h"

// Enough to walk a key and delete its subkeys; nothing more is asked for.
static const REGSAM TreeAccess = DELETE | KEY_ENUMERATE_SUB_KEYS;
// Subkey names are read into 256 characters with a capacity of 255.
static const DWORD NameCapacity = 255;
// NT keeps keys at most 512 levels deep; the 9x registry sets no limit, and a chain any
// program built deeper than that would overflow the stack of a walk without one.
static const int MaxDepth = 512;

static LONG FirstSubkey(HKEY key, char *name)
{
    DWORD length = NameCapacity;
    return RegEnumKeyExA(key, 0, name, &length, NULL, NULL, NULL, NULL);
}

static LONG Probe(HKEY root, const char *path, int depth)
{
    if (depth > MaxDepth)
        return ERROR_STACK_OVERFLOW;
    HKEY key;
    LONG result = RegOpenKeyExA(root, path, 0, TreeAccess, &key);
    if (result != ERROR_SUCCESS)
        return result;
    char name[NameCapacity + 1];
    do {
        result = FirstSubkey(key, name);
        if (result != ERROR_SUCCESS)
            break;
        result = Probe(key, name, depth + 1);
    } while (result == ERROR_SUCCESS);
    RegCloseKey(key);
    return result;
}

LONG ProbeKeyTree(HKEY root, const char *path)
{
    if (root == NULL || *path == '\0')
        return ERROR_FILE_NOT_FOUND;
    return Probe(root, path, 0);
}

static LONG Delete(HKEY root, const char *path, int depth)
{
    // Checked before anything below is touched: nothing under the limit is deleted.
    if (depth > MaxDepth)
        return ERROR_STACK_OVERFLOW;
    HKEY key;
    LONG result = RegOpenKeyExA(root, path, 0, TreeAccess, &key);
    if (result != ERROR_SUCCESS)
        return result;
    char name[NameCapacity + 1];
    do {
        result = FirstSubkey(key, name);
        if (result == ERROR_NO_MORE_ITEMS) {
            // Emptied: the parent deletes it while our handle is still open.
            result = RegDeleteKeyA(root, path);
            break;
        }
        if (result != ERROR_SUCCESS)
            break;
        // The removed subkey's place at index 0 goes to the next one.
        result = Delete(key, name, depth + 1);
    } while (result == ERROR_SUCCESS);
    RegCloseKey(key);
    return result;
}

LONG DeleteKeyTree(HKEY root, const char *path)
{
    if (*path == '\0')
        return ERROR_FILE_NOT_FOUND;
    return Delete(root, path, 0);
}

bool IsAbsentKeyError(LONG error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_BADKEY;
}

Outcome RemoveRegistryTree(HKEY root, const char *path)
{
    LONG probe = ProbeKeyTree(root, path);
    if (probe == ERROR_SUCCESS || probe == ERROR_NO_MORE_ITEMS) {
        LONG deletion = DeleteKeyTree(root, path);
        if (deletion == ERROR_SUCCESS || deletion == ERROR_NO_MORE_ITEMS)
            return Outcome::Deleted;
        return IsAbsentKeyError(deletion) ? Outcome::NoKey : Outcome::Error;
    }
    return IsAbsentKeyError(probe) ? Outcome::NoKey : Outcome::Error;
}

Outcome RemoveValue(HKEY root, const char *path, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, DELETE, &key) != ERROR_SUCCESS)
        return Outcome::Error;
    LONG error = RegDeleteValueA(key, name);
    RegCloseKey(key);
    if (error == ERROR_SUCCESS)
        return Outcome::Deleted;
    return IsAbsentKeyError(error) ? Outcome::NoValue : Outcome::Error;
}
