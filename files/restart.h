#ifndef PDCLEAN_FILES_RESTART_H
#define PDCLEAN_FILES_RESTART_H

// Registers existingPath to be deleted (newPath NULL) or renamed at the next start of
// Windows: by MoveFileEx where the system has it, else on Windows Me by an entry in
// wininit.ini. True only when the request is in a form the system will act on.
bool ScheduleDeleteAtRestart(const char *existingPath, const char *newPath);

// Whether restart work already queued (wininit.ini's first "[rename]" section on Windows Me,
// NT's PendingFileRenameOperations otherwise) will put a file at path, under its long or its
// short name. A list that cannot be read counts as holding nothing.
bool RestartWillReplace(const char *path);

// The 8.3 form a list may name the path by, into out (MAX_PATH bytes) where it differs from
// the path; "" when the path is of 8.3 names already, or when it has none to be had, as a file
// that is not there has none. Asked only where a list is there to look in: it is slow.
void ShortNameToMatch(const char *path, char *out);

// The wininit.ini fallback alone (what the 9x family needs), exported so the tests and
// benchmarks can edit the list without first making MoveFileEx refuse.
bool AddToRenameList(const char *existingPath, const char *newPath);

#endif
