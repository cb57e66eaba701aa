#include "registry/key_tree.h"

// Enough to walk a key and delete its subkeys; nothing more is asked for.
static const REGSAM TreeAccess = DELETE | KEY_ENUMERATE_SUB_KEYS;
// Subkey names are read into 256 characters with a capacity of 255.
static const DWORD NameCapacity = 255;

static LONG FirstSubkey(HKEY key, char *name)
{
    DWORD length = NameCapacity;
    return RegEnumKeyExA(key, 0, name, &length, NULL, NULL, NULL, NULL);
}

LONG ProbeKeyTree(HKEY root, const char *path)
{
    if (root == NULL || *path == '\0')
        return ERROR_FILE_NOT_FOUND;
    HKEY key;
    LONG result = RegOpenKeyExA(root, path, 0, TreeAccess, &key);
    if (result != ERROR_SUCCESS)
        return result;
    char name[NameCapacity + 1];
    do {
        result = FirstSubkey(key, name);
        if (result != ERROR_SUCCESS)
            break;
        result = ProbeKeyTree(key, name);
    } while (result == ERROR_SUCCESS);
    RegCloseKey(key);
    return result;
}

LONG DeleteKeyTree(HKEY root, const char *path)
{
    if (*path == '\0')
        return ERROR_FILE_NOT_FOUND;
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
        result = DeleteKeyTree(key, name);
    } while (result == ERROR_SUCCESS);
    RegCloseKey(key);
    return result;
}

static bool IsGone(LONG error)
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
        return IsGone(deletion) ? Outcome::NoKey : Outcome::Error;
    }
    return IsGone(probe) ? Outcome::NoKey : Outcome::Error;
}
