#ifndef PDCLEAN_FILES_RESTART_H
#define PDCLEAN_FILES_RESTART_H

// Registers existingPath to be deleted (newPath NULL) or renamed at the next start of
// Windows: by MoveFileEx where the system has it, else on Windows Me by an entry in
// wininit.ini. True only when the request is in a form the system will act on.
bool ScheduleDeleteAtRestart(const char *existingPath, const char *newPath);

// What follows MoveFileEx's answer (moved): the wininit.ini fallback on Windows Me, a
// failure on Windows 2000. Exported for the tests: Wine's MoveFileEx never refuses.
bool ScheduleAfterMoveFileEx(bool moved, const char *existingPath, const char *newPath);

// The wininit.ini fallback alone (what the 9x family needs). Exported for the tests,
// since Wine's MoveFileEx succeeds even where the real system refuses.
bool AddToRenameList(const char *existingPath, const char *newPath);

#endif
