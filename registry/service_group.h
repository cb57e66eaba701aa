#ifndef PDCLEAN_REGISTRY_SERVICE_GROUP_H
#define PDCLEAN_REGISTRY_SERVICE_GROUP_H

// Takes "Pen Class" out of the NT service group order, every other name kept in place.
// True when stored without it or when it was not there; false when the key or value
// cannot be read (also over 1024 bytes), the list is malformed, or the store fails.
bool RemoveServiceGroup();

#endif
