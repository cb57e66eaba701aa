#ifndef PDCLEAN_REGISTRY_SERVICE_GROUP_H
#define PDCLEAN_REGISTRY_SERVICE_GROUP_H

#include "core/kinds.h"

// Takes "Pen Class" out of the NT service group order, every other name kept in place.
// Deleted when stored without it; NoValue when it was not there, and also when the list
// cannot be read to its end (over 1024 bytes, or malformed), which is left as it is;
// NoKey when the key or value is missing; Error when the name was found but the list could
// not be written back.
Outcome RemoveServiceGroup();

#endif
