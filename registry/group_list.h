// The walk over a REG_MULTI_SZ list of service group names, free of Win32 so host tests
// and a fuzzer reach it.
#ifndef PDCLEAN_REGISTRY_GROUP_LIST_H
#define PDCLEAN_REGISTRY_GROUP_LIST_H

#include <stddef.h>

enum class GroupEdit {
    Unchanged,    // the name is not in the list: nothing to store
    Dropped,      // out holds the list without it, *storeLength bytes with the closing zero
    Unterminated, // a string runs to the end of the buffer: nothing to store
};

// Copies the strings of in (dataSize bytes of a zero-filled buffer of capacity bytes)
// to out (capacity bytes), leaving out every string equal to name byte for byte. The end
// is found by dataSize, not by the first empty string. Neither buffer is touched past
// capacity: out is written only below the read position.
GroupEdit DropGroupName(const unsigned char *in, size_t capacity, size_t dataSize,
                        const char *name, unsigned char *out, size_t *storeLength);

#endif
