// NT's list of renames and deletions at the next start (PendingFileRenameOperations), read.
#ifndef PDCLEAN_FILES_PENDING_LIST_H
#define PDCLEAN_FILES_PENDING_LIST_H

// Whether a pair already queued will put a file at path, under its long or its 8.3 name. A
// list that is not there, cannot be read or is too large to read counts as holding nothing.
bool PendingListWillReplace(const char *path);

#endif
