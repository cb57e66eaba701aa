#include "files/rename_list.h"

static const size_t HeaderLength = 10;
// Tried in this order; the order decides, not the place in the file.
static const char *const Headers[] = {"[rename]\r\n", "[Rename]\r\n", "[RENAME]\r\n"};

static size_t TextLength(const char *buffer, size_t size)
{
    size_t n = 0;
    while (n < size && buffer[n] != '\0')
        ++n;
    return n;
}

static bool Find(const char *text, size_t length, const char *needle, size_t *at)
{
    if (length < HeaderLength)
        return false;
    for (size_t i = 0; i <= length - HeaderLength; ++i) {
        if (text[i] != needle[0])
            continue;
        size_t k = 1;
        while (k < HeaderLength && text[i + k] == needle[k])
            ++k;
        if (k == HeaderLength) {
            *at = i;
            return true;
        }
    }
    return false;
}

static void Copy(char *to, const char *from, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        to[i] = from[i];
}

// One overlapping move, back to front.
static void MoveUp(char *from, size_t count, size_t by)
{
    for (size_t i = count; i > 0; --i)
        from[i - 1 + by] = from[i - 1];
}

size_t InsertRenameEntry(char *buffer, size_t oldSize, size_t capacity, const char *line,
                         size_t lineLength)
{
    if (lineLength > capacity || oldSize > capacity - lineLength ||
        capacity - lineLength - oldSize < RenameEditSpare)
        return 0;
    // The text ends at the first zero byte; what follows it is kept but never searched.
    size_t textLength = TextLength(buffer, oldSize);
    for (const char *header : Headers) {
        size_t at;
        if (Find(buffer, textLength, header, &at)) {
            size_t insertAt = at + HeaderLength;
            MoveUp(buffer + insertAt, oldSize - insertAt, lineLength);
            Copy(buffer + insertAt, line, lineLength);
            return oldSize + lineLength;
        }
    }
    size_t end = oldSize;
    if (end > 0 && buffer[end - 1] != '\n') {
        // The header must start a line of its own to be read as one.
        buffer[end++] = '\r';
        buffer[end++] = '\n';
    }
    Copy(buffer + end, Headers[0], HeaderLength);
    Copy(buffer + end + HeaderLength, line, lineLength);
    return end + HeaderLength + lineLength;
}
