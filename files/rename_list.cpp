#include "files/rename_list.h"

static const char Header[] = "[rename]\r\n"; // as a new section is headed
static const size_t HeaderLength = 10;         // with its CR LF
static const size_t HeaderNameLength = 8;
static const char EndOfFile = 0x1A;  // ^Z: DOS-style readers stop at it

// The text the restart step reads: up to the first zero byte or ^Z.
static size_t TextEnd(const char *buffer, size_t size)
{
    size_t n = 0;
    while (n < size && buffer[n] != '\0' && buffer[n] != EndOfFile)
        ++n;
    return n;
}

static char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The header compared without regard to ASCII letter case. Only '[' can start the match,
// never a lead byte, so every byte compared is a whole character.
static bool SameHeader(const char *text, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (Lower(text[i]) != Header[i])
            return false;
    }
    return true;
}

// The first line that is the header, in any letter case: the start-up processing reads only
// the first section so named, so an entry under a later one would never be acted on. A
// header only counts at the start of a line, and a line feed is never the trail byte of a
// double-byte character, so a line start is always a character start. The text's last line
// may be the header without its line break: *unfinished tells so.
static bool FindHeader(const char *text, size_t length, size_t *at, bool *unfinished)
{
    for (size_t i = 0; i < length; ++i) {
        if (i > 0 && text[i - 1] != '\n')
            continue;
        size_t left = length - i;
        if (left >= HeaderLength && SameHeader(text + i, HeaderLength)) {
            *at = i;
            *unfinished = false;
            return true;
        }
        if (left == HeaderNameLength && SameHeader(text + i, HeaderNameLength)) {
            *at = i;
            *unfinished = true;
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

// Makes room for count bytes at offset at, then writes the pieces there in order.
static size_t Insert(char *buffer, size_t oldSize, size_t at, const char *const pieces[],
                     const size_t lengths[], int pieceCount)
{
    size_t count = 0;
    for (int i = 0; i < pieceCount; ++i)
        count += lengths[i];
    MoveUp(buffer + at, oldSize - at, count);
    for (int i = 0; i < pieceCount; ++i) {
        Copy(buffer + at, pieces[i], lengths[i]);
        at += lengths[i];
    }
    return oldSize + count;
}

static bool IsUtf16(const char *buffer, size_t size)
{
    if (size < 2)
        return false;
    unsigned char a = static_cast<unsigned char>(buffer[0]);
    unsigned char b = static_cast<unsigned char>(buffer[1]);
    return (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF);
}

size_t InsertRenameEntry(char *buffer, size_t oldSize, size_t capacity, const char *line,
                         size_t lineLength)
{
    if (lineLength > capacity || oldSize > capacity - lineLength ||
        capacity - lineLength - oldSize < RenameEditSpare)
        return 0;
    // ANSI text put into a UTF-16 file would be read as neither.
    if (IsUtf16(buffer, oldSize))
        return 0;
    size_t textLength = TextEnd(buffer, oldSize);
    size_t at;
    bool unfinished;
    if (FindHeader(buffer, textLength, &at, &unfinished)) {
        if (unfinished) {
            const char *pieces[] = {"\r\n", line};
            const size_t lengths[] = {2, lineLength};
            return Insert(buffer, oldSize, at + HeaderNameLength, pieces, lengths, 2);
        }
        const char *pieces[] = {line};
        const size_t lengths[] = {lineLength};
        return Insert(buffer, oldSize, at + HeaderLength, pieces, lengths, 1);
    }
    // A new section at the end of the text, before any zero byte or ^Z, which stay after
    // it. The header must start a line of its own to be read as one.
    bool endLine = textLength > 0 && buffer[textLength - 1] != '\n';
    const char *pieces[] = {"\r\n", Header, line};
    const size_t lengths[] = {2, HeaderLength, lineLength};
    return endLine ? Insert(buffer, oldSize, textLength, pieces, lengths, 3)
                   : Insert(buffer, oldSize, textLength, pieces + 1, lengths + 1, 2);
}
