#include "files/primitives.h"

#include <windows.h>

#include "core/session.h"
#include "files/path_rules.h"
#include "files/restart.h"

bool PrepareForDelete(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // The system attribute alone does not block a deletion.
        if (!(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)))
            return true;
        if (SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL))
            return true;
    }
    return IsAbsentError(GetLastError());
}

Outcome DeleteFileEntry(const char *path)
{
    if (!PrepareForDelete(path))
        return Outcome::Error;
    if (DeleteFileA(path))
        return Outcome::Deleted;
    return IsAbsentError(GetLastError()) ? Outcome::NoFile : Outcome::Error;
}

static Outcome Schedule(const char *path)
{
    if (!ScheduleDeleteAtRestart(path, NULL))
        return Outcome::Error;
    session.rebootPending = true;
    return Outcome::DeleteAtRestart;
}

Outcome DeleteOrSchedule(const char *path)
{
    // A file the restart will put back, there now or not, would outlast a deletion now: it
    // goes at the restart, after what was queued before. Writable first, as for any file the
    // restart deletes: a read-only one resists the replacement and the deletion alike.
    if (RestartWillReplace(path)) {
        PrepareForDelete(path);
        return Schedule(path);
    }
    Outcome outcome = DeleteFileEntry(path);
    return outcome == Outcome::Error ? Schedule(path) : outcome;
}

Outcome ScheduleDelete(const char *path)
{
    // Writable first: the restart deletes as any program does, and a read-only file resists.
    if (PrepareForDelete(path) && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES &&
        IsAbsentError(GetLastError()))
        return Outcome::NoFile;
    return Schedule(path);
}
