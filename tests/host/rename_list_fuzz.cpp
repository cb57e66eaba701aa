// For any old content, read independently of the edit: a UTF-16 file is left alone; else the
// result is the old bytes with one piece inserted, and that piece ends with the entry line
// directly under a header line that starts a line, inside the text the restart step reads
// (before any zero byte or ^Z). Nothing is touched outside the buffer.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "files/rename_list.h"

static const char Line[] = "NUL=C:\\WINDOWS\\SYSTEM\\VAVAD.VXD\r\n";
static const size_t LineLength = sizeof Line - 1;

static bool IsHeaderLine(const char *result, size_t at)
{
    if (at < 10 || (at > 10 && result[at - 11] != '\n'))
        return false;
    const char *h = result + at - 10;
    return memcmp(h, "[rename]\r\n", 10) == 0 || memcmp(h, "[Rename]\r\n", 10) == 0 ||
           memcmp(h, "[RENAME]\r\n", 10) == 0;
}

static bool InText(const char *result, size_t end)
{
    for (size_t i = 0; i < end; ++i) {
        if (result[i] == '\0' || result[i] == 0x1A)
            return false;
    }
    return true;
}

// The piece inserted at offset at is one the edit may write, the entry line last.
static bool PieceIsSound(const char *piece, size_t added)
{
    if (added == LineLength)
        return true;
    if (added == 2 + LineLength)
        return memcmp(piece, "\r\n", 2) == 0;
    if (added == 10 + LineLength)
        return memcmp(piece, "[rename]\r\n", 10) == 0;
    return added == 12 + LineLength && memcmp(piece, "\r\n[rename]\r\n", 12) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    size_t capacity = size + LineLength + RenameEditSpare;
    // Exactly sized, so the sanitizer catches any byte written or read past the room.
    char *buffer = static_cast<char *>(malloc(capacity));
    memcpy(buffer, data, size);
    size_t n = InsertRenameEntry(buffer, size, capacity, Line, LineLength);
    bool utf16 = size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
    if (utf16) {
        if (n != 0 || memcmp(buffer, data, size) != 0)
            abort();
        free(buffer);
        return 0;
    }
    if (n < size + LineLength || n > capacity)
        abort();
    size_t added = n - size;
    // Where the piece may sit: after the common prefix's start, before the common suffix.
    size_t prefix = 0;
    while (prefix < size && buffer[prefix] == static_cast<char>(data[prefix]))
        ++prefix;
    size_t suffix = 0;
    while (suffix < size && buffer[n - 1 - suffix] == static_cast<char>(data[size - 1 - suffix]))
        ++suffix;
    bool found = false;
    for (size_t at = size - suffix; at <= prefix && !found; ++at) {
        size_t line = at + added - LineLength;
        found = PieceIsSound(buffer + at, added) && IsHeaderLine(buffer, line) &&
                InText(buffer, line + LineLength);
    }
    if (!found)
        abort();
    free(buffer);
    return 0;
}
