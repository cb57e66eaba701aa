// Byte-level rules of the file removal, free of Win32 so host tests and fuzzers reach them.
#ifndef PDCLEAN_FILES_PATH_RULES_H
#define PDCLEAN_FILES_PATH_RULES_H

#include <stddef.h>

// The platform's "not there" errors: file not found, path not found, bad path name.
bool IsAbsentError(unsigned long error);

enum class TreeEntry { Directory, File, DirectoryLink, FileLink };

// What a tree walk does with an entry, by its attributes as read. An unreadable entry
// (all bits set) is walked as a directory: its walk finds nothing and reports it gone.
// A reparse point is a link to elsewhere: removed itself, never descended into.
TreeEntry ClassifyTreeEntry(unsigned long attributes);

// True when every component of path is a DOS 8.3 name: the only names WININIT.EXE reads.
// isLeadByte tells the first byte of a double-byte character, so that its trail byte is
// never taken for a backslash or a dot.
bool IsShortPath(const char *path, bool (*isLeadByte)(unsigned char));

// True when path may be removed as a whole tree: false for an empty path, a bare "\", a
// drive ("C:", "C:\"), a UNC server or share root ("\\server\share"), and any path with a
// "." or ".." component. Lead bytes as for IsShortPath.
bool IsTreeTarget(const char *path, bool (*isLeadByte)(unsigned char));

// True for a name made as the setup API names its copies of setup files: "oem", one or more
// decimal digits and ".inf", in any letter case. The digits are never read as a number, so
// none is too large.
bool IsOemInfName(const char *name);

#endif
