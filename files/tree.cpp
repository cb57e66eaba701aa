#include "files/tree.h"

#include <windows.h>

#include "core/text.h"
#include "files/path_rules.h"
#include "files/primitives.h"

static Outcome RemovedDirectory(const char *dir)
{
    if (RemoveDirectoryA(dir))
        return Outcome::Deleted;
    return IsAbsentError(GetLastError()) ? Outcome::NoFolder : Outcome::Error;
}

// One entry of the listing; true when the walk goes on past it, else *ended is the outcome.
static bool RemoveEntry(const char *path, Outcome *ended)
{
    Outcome outcome;
    switch (ClassifyTreeEntry(GetFileAttributesA(path))) {
    case TreeEntry::Directory:
        outcome = RemoveDirectoryTree(path);
        // A subdirectory left behind with a vanished file still lets its siblings go.
        if (outcome == Outcome::Deleted || outcome == Outcome::NoFile)
            return true;
        break;
    case TreeEntry::DirectoryLink:
        // A junction or directory symlink: its target lies outside the tree.
        outcome = PrepareForDelete(path) ? RemovedDirectory(path) : Outcome::Error;
        if (outcome == Outcome::Deleted)
            return true;
        break;
    default:
        outcome = DeleteFileEntry(path); // never scheduled: the first file that resists ends the walk
        if (outcome == Outcome::Deleted)
            return true;
        break;
    }
    *ended = outcome;
    return false;
}

static bool IsDotEntry(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Empties dir: Deleted when the listing was walked to its end.
static Outcome RemoveContents(const char *dir)
{
    char path[MAX_PATH];
    if (!JoinPath(path, sizeof path, dir, "*"))
        return Outcome::Error;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return Outcome::Deleted; // nothing to list; the removal of dir tells the rest
    Outcome outcome = Outcome::Deleted;
    do {
        if (IsDotEntry(found.cFileName))
            continue;
        if (!JoinPath(path, sizeof path, dir, found.cFileName)) {
            outcome = Outcome::Error;
            break;
        }
        if (!RemoveEntry(path, &outcome))
            break;
    } while (FindNextFileA(search, &found));
    if (outcome == Outcome::Deleted && GetLastError() != ERROR_NO_MORE_FILES)
        outcome = Outcome::Error;
    FindClose(search);
    return outcome;
}

static bool IsLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

Outcome RemoveDirectoryTree(const char *dir)
{
    // An empty table entry would otherwise walk "\*", the root of the current drive.
    if (!IsTreeTarget(dir, IsLeadByte))
        return Outcome::Error;
    if (!PrepareForDelete(dir))
        return Outcome::Error;
    DWORD attributes = GetFileAttributesA(dir);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return RemovedDirectory(dir); // a link given as the tree: never walk its target
    Outcome contents = RemoveContents(dir);
    if (contents != Outcome::Deleted)
        return contents;
    return RemovedDirectory(dir);
}
