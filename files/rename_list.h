// The bytes of the restart's work lists: one entry line put into the "[rename]" section of
// wininit.ini, in place, and the requests already queued there or in NT's list looked up.
// Free of Win32 so host tests and the fuzzer reach it.
#ifndef PDCLEAN_FILES_RENAME_LIST_H
#define PDCLEAN_FILES_RENAME_LIST_H

#include <stddef.h>

// Bytes the edit may add beyond the entry line: a CR LF to end an unfinished last line,
// and a "[rename]" header line.
const size_t RenameEditSpare = 2 + 10;

// buffer holds the old content in its first oldSize bytes and has room for capacity bytes.
// The text is what comes before the first zero byte or ^Z. Puts the line (lineLength bytes)
// last in the section of the text's first line that reads "[rename]" in any letter case, with
// any spaces or tabs around it, ended by CR LF or a line feed: before the next line whose
// first byte after blanks is "[", or else at the end of the text, where an unfinished last
// line gets a CR LF first. With no such line, adds a new "[rename]" section at the end of
// the text. Returns the new content length, or 0 with nothing written when the capacity is
// short of oldSize + lineLength + RenameEditSpare or the file is UTF-16 (starts with a
// byte-order mark).
size_t InsertRenameEntry(char *buffer, size_t oldSize, size_t capacity, const char *line,
                         size_t lineLength);

// Whether a request already queued will put a file at path or shortPath (either may be ""),
// compared without regard to ASCII letter case; deleting that file now would not last.
// In wininit.ini (buffer as above): a line of the section InsertRenameEntry finds whose left
// side, blanks around it aside, names the file ("NUL=" lines are deletions, never a path).
bool RenameListReplaces(const char *buffer, size_t size, const char *path, const char *shortPath);
// In NT's PendingFileRenameOperations (size bytes of its ANSI strings, source then target):
// a pair whose target, after an optional "!" and the "\??\" prefix, names the file. An empty
// target is a deletion; a string cut off by the end of the data ends there.
bool PendingListReplaces(const char *list, size_t size, const char *path, const char *shortPath);

#endif
