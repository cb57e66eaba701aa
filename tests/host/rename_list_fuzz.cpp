// For any old content: the result is the old bytes with one entry line (and at most one
// CR LF and one header) inserted, and nothing is touched outside the buffer.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "files/rename_list.h"

static const char Line[] = "NUL=C:\\WINDOWS\\SYSTEM\\VAVAD.VXD\r\n";
static const char Header[] = "[rename]\r\n";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const size_t lineLength = sizeof Line - 1;
    size_t capacity = size + lineLength + RenameEditSpare;
    // Exactly sized, so the sanitizer catches any byte written or read past the room.
    char *buffer = static_cast<char *>(malloc(capacity));
    memcpy(buffer, data, size);
    size_t n = InsertRenameEntry(buffer, size, capacity, Line, lineLength);
    if (n == 0)
        abort();
    size_t added = n - size;
    if (added == lineLength) {
        // Inserted: right behind a recognised header, with old bytes unchanged around it.
        bool found = false;
        for (size_t i = 10; i <= size && !found; ++i) {
            bool header = memcmp(data + i - 10, "[rename]\r\n", 10) == 0 ||
                          memcmp(data + i - 10, "[Rename]\r\n", 10) == 0 ||
                          memcmp(data + i - 10, "[RENAME]\r\n", 10) == 0;
            found = header && memcmp(buffer, data, i) == 0 &&
                    memcmp(buffer + i, Line, lineLength) == 0 &&
                    memcmp(buffer + i + lineLength, data + i, size - i) == 0;
        }
        if (!found)
            abort();
    } else {
        // Appended: all old bytes, perhaps CR LF, the header, the line.
        if (memcmp(buffer, data, size) != 0)
            abort();
        size_t p = size;
        if (added == 2 + 10 + lineLength) {
            if (buffer[p] != '\r' || buffer[p + 1] != '\n' || (size > 0 && data[size - 1] == '\n'))
                abort();
            p += 2;
        } else if (added != 10 + lineLength || (size > 0 && data[size - 1] != '\n')) {
            abort();
        }
        if (memcmp(buffer + p, Header, 10) != 0 || memcmp(buffer + p + 10, Line, lineLength) != 0)
            abort();
    }
    free(buffer);
    return 0;
}
