#ifndef PDCLEAN_FILES_PRIMITIVES_H
#define PDCLEAN_FILES_PRIMITIVES_H

#include "core/kinds.h"

// Clears read-only and hidden so the path can be deleted. True when it now may be, or when
// it is not there at all; false when its attributes could not be read or cleared.
bool PrepareForDelete(const char *path);

// Error, Deleted or NoFile.
Outcome DeleteFileEntry(const char *path);

// As DeleteFileEntry, but a file that resisted is scheduled for deletion at restart:
// DeleteAtRestart, with rebootPending set. Error only when scheduling failed too.
Outcome DeleteOrSchedule(const char *path);

// Schedules the file for deletion at restart without deleting it now: DeleteAtRestart, with
// rebootPending set; NoFile when it is not there; Error when scheduling failed.
Outcome ScheduleDelete(const char *path);

#endif
