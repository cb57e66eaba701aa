#ifndef PDCLEAN_FILES_PLANS_H
#define PDCLEAN_FILES_PLANS_H

// The package's files on each family. True when the plan ran to its end; false when it
// stopped after showing its "Error" box.
bool RunFilePlan9x();
bool RunFilePlanNT();

// Removes the setup copies of the driver's INF, of setup class PEN, with their .pnf: every
// oemN.inf that the INF folder lists, whatever N. A copy that resists or cannot be read is an
// error and the sweep goes on; so is a folder that cannot be listed. Without the setup API
// nothing is deleted, and that is an error too. infDirectory ends with a backslash.
void SweepOemInfs(const char *infDirectory);

// base + entry into path (1024 bytes); false after the "buffer error" box when the
// two would reach 1023 characters.
bool ComposePlanItem(char *path, const char *base, const char *entry);

#endif
