#ifndef PDCLEAN_RUN_UNINSTALL_H
#define PDCLEAN_RUN_UNINSTALL_H

// What Execute does: the removal for the recorded family, synchronously on the GUI thread.
void RunUninstall();

#endif
