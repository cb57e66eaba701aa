#ifndef PDCLEAN_REGISTRY_DEVICES_H
#define PDCLEAN_REGISTRY_DEVICES_H

// Removes every device node under the enumerator whose ID marks it as the tablet's,
// attached or not. True when the device list was walked to its end; false when the
// setup API or the list is not to be had.
bool RemoveTabletDevices(const char *enumerator);

#endif
