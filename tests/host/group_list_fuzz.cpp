// For any value bytes and byte count: the walk stays inside the buffer, and what it would
// store is the value's strings up to the count, in order, less every "Pen Class".
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "registry/group_list.h"

static const char Pen[] = "Pen Class";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes pick the byte count; the buffer is the rest, exactly sized so
    // the sanitizer catches any read past it.
    size_t capacity = size - 2;
    size_t count = (static_cast<size_t>(data[0]) << 8 | data[1]) % (capacity + 1);
    unsigned char *in = static_cast<unsigned char *>(malloc(capacity ? capacity : 1));
    unsigned char *out = static_cast<unsigned char *>(malloc(capacity ? capacity : 1));
    memcpy(in, data + 2, capacity);
    size_t length = 0;
    GroupEdit r = DropGroupName(in, capacity, count, Pen, out, &length);
    // Every string the walk reaches: the list of the count, read over the buffer.
    size_t read = 0, expected = 0, drops = 0;
    bool ran = false, overrun = false;
    while (!ran || read + 1 < count) {
        ran = true;
        const unsigned char *end = static_cast<const unsigned char *>(memchr(in + read, 0, capacity - read));
        if (end == NULL) {
            overrun = true;
            break;
        }
        size_t n = end - (in + read);
        if (n == 9 && memcmp(in + read, Pen, 9) == 0) {
            ++drops;
        } else {
            if (r == GroupEdit::Dropped && memcmp(out + expected, in + read, n + 1) != 0)
                abort();
            expected += n + 1;
        }
        read += n + 1;
    }
    if (overrun != (r == GroupEdit::Unterminated))
        abort();
    if (!overrun && (drops > 0) != (r == GroupEdit::Dropped))
        abort();
    if (r == GroupEdit::Dropped && (length != expected + 1 || out[expected] != 0))
        abort();
    if (r != GroupEdit::Dropped && length != 0)
        abort();
    free(in);
    free(out);
    return 0;
}
