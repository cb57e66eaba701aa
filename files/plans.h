#ifndef PDCLEAN_FILES_PLANS_H
#define PDCLEAN_FILES_PLANS_H

// The package's files on each family. True when the plan ran to its end; false when it
// stopped after showing its "Error" box.
bool RunFilePlan9x();
bool RunFilePlanNT();

// Removes the OEM copies (oemN.inf and .pnf) of the driver's INF, of setup class PEN, among
// oem0 up to the first number without an oemN.inf, from the top down. A copy that resists or
// cannot be read is an error and ends the sweep, as does a setup API not to be had. Once a
// file has had to be scheduled for the restart, the copies below it are scheduled too, not
// deleted now. infDirectory ends with a backslash.
void SweepOemInfs(const char *infDirectory);

// base + entry into path (1024 bytes); false after the "buffer error" box when the
// two would reach 1023 characters.
bool ComposePlanItem(char *path, const char *base, const char *entry);

#endif
