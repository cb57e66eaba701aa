#ifndef PDCLEAN_FILES_TREE_H
#define PDCLEAN_FILES_TREE_H

#include "core/kinds.h"

// Removes dir and everything below it, depth first; the first entry that resists ends the
// walk. Deleted, NoFolder (dir or a subdirectory was not there), NoFile (a file vanished
// before its deletion) or Error. Links inside the tree are removed, never followed.
Outcome RemoveDirectoryTree(const char *dir);

#endif
