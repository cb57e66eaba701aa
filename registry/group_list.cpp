#include "registry/group_list.h"

static size_t BoundedLength(const unsigned char *s, size_t limit)
{
    size_t n = 0;
    while (n < limit && s[n] != 0)
        ++n;
    return n;
}

static bool SameBytes(const unsigned char *s, size_t n, const char *name)
{
    size_t i = 0;
    for (; i < n; ++i) {
        if (name[i] == '\0' || static_cast<unsigned char>(name[i]) != s[i])
            return false;
    }
    return name[i] == '\0';
}

GroupEdit DropGroupName(const unsigned char *in, size_t capacity, size_t dataSize,
                        const char *name, unsigned char *out, size_t *storeLength)
{
    *storeLength = 0;
    if (dataSize > capacity)
        dataSize = capacity;
    size_t read = 0, write = 0;
    bool dropped = false;
    // A size of 0 or 1 still walks one (empty) string, as the list's closing zero.
    do {
        size_t n = BoundedLength(in + read, capacity - read);
        if (read + n == capacity)
            return GroupEdit::Unterminated; // no zero left in the buffer to end it
        if (SameBytes(in + read, n, name)) {
            dropped = true;
        } else {
            for (size_t i = 0; i <= n; ++i)
                out[write + i] = in[read + i];
            write += n + 1;
        }
        read += n + 1;
    } while (read + 1 < dataSize); // read >= dataSize - 1, signed: a size of 0 ends too
    if (!dropped)
        return GroupEdit::Unchanged;
    // Stands for the list's closing zero, which the walk does not copy.
    out[write] = 0;
    *storeLength = write + 1;
    return GroupEdit::Dropped;
}
