// Which device instance IDs are the tablet's; free of Win32 so host tests reach it.
#ifndef PDCLEAN_REGISTRY_DEVICE_MATCH_H
#define PDCLEAN_REGISTRY_DEVICE_MATCH_H

// True when the device part of the ID (after its first backslash) begins with the serial
// vendor prefix "TVR" or the USB vendor token "VID_4F1D", byte for byte and case-sensitive.
bool IsTabletInstanceId(const char *instanceId);

#endif
