#include "files/rename_list.h"

static const char Header[] = "[rename]\r\n"; // as a new section is headed
static const size_t HeaderLength = sizeof Header - 1; // with its CR LF
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

// The header's name compared without regard to ASCII letter case.
static bool IsHeaderName(const char *text)
{
    for (size_t i = 0; i < HeaderNameLength; ++i) {
        if (Lower(text[i]) != Header[i])
            return false;
    }
    return true;
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// "[rename]" in any letter case, with blanks before and after it.
static bool IsHeaderLine(const char *line, size_t length)
{
    size_t i = 0;
    while (i < length && IsBlank(line[i]))
        ++i;
    if (length - i < HeaderNameLength || !IsHeaderName(line + i))
        return false;
    for (i += HeaderNameLength; i < length; ++i) {
        if (!IsBlank(line[i]))
            return false;
    }
    return true;
}

// The first header line, ended by CR LF, by a line feed alone or by the end of the text: the
// start-up processing reads only the first section so named, and reads such lines as its
// header, so an entry anywhere else would never be acted on. *after is the byte behind the
// line's end. A line feed is never the trail byte of a double-byte character, nor is a
// blank, so every byte compared is a whole character.
static bool FindHeader(const char *text, size_t length, size_t *after)
{
    for (size_t start = 0; start < length;) {
        size_t end = start;
        while (end < length && text[end] != '\n')
            ++end;
        size_t content = end;
        if (end < length && content > start && text[content - 1] == '\r')
            --content;
        if (IsHeaderLine(text + start, content - start)) {
            *after = end < length ? end + 1 : end;
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Where the section whose lines begin at from ends: the start of the next line that opens a
// section (its first byte after blanks is "["), else the end of the text. The start-up
// processing works through the section from the top down, so an entry put last comes after
// every request made before it, as MoveFileEx queues on NT.
static size_t SectionEnd(const char *text, size_t length, size_t from)
{
    for (size_t start = from; start < length;) {
        size_t i = start;
        while (i < length && IsBlank(text[i]))
            ++i;
        if (i < length && text[i] == '[')
            return start;
        while (i < length && text[i] != '\n')
            ++i;
        start = i + 1;
    }
    return length;
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
    size_t after;
    bool found = FindHeader(buffer, textLength, &after);
    // With no section, a new one at the end of the text, before any zero byte or ^Z, which
    // stay after it.
    size_t at = found ? SectionEnd(buffer, textLength, after) : textLength;
    const char *pieces[3];
    size_t lengths[3];
    int count = 0;
    // What follows must start a line of its own to be read as a line.
    if (at > 0 && buffer[at - 1] != '\n') {
        pieces[count] = "\r\n";
        lengths[count++] = 2;
    }
    if (!found) {
        pieces[count] = Header;
        lengths[count++] = HeaderLength;
    }
    pieces[count] = line;
    lengths[count++] = lineLength;
    return Insert(buffer, oldSize, at, pieces, lengths, count);
}

// The counted text [text, text + length) is name, without regard to ASCII letter case. An
// empty name (a short path not to be had) never matches.
static bool IsNameNoCase(const char *text, size_t length, const char *name)
{
    size_t i = 0;
    for (; i < length; ++i) {
        if (Lower(text[i]) != Lower(name[i]) || name[i] == '\0')
            return false;
    }
    return i > 0 && name[i] == '\0';
}

static bool IsEitherName(const char *text, size_t length, const char *path, const char *shortPath)
{
    return IsNameNoCase(text, length, path) || IsNameNoCase(text, length, shortPath);
}

bool RenameListReplaces(const char *buffer, size_t size, const char *path, const char *shortPath)
{
    if (IsUtf16(buffer, size))
        return false;
    size_t length = TextEnd(buffer, size), line;
    if (!FindHeader(buffer, length, &line))
        return false;
    // No trail byte of code page 932 is a line feed, "=" or a blank.
    for (size_t end = SectionEnd(buffer, length, line); line < end;) {
        size_t next = line, equals;
        while (next < end && buffer[next] != '\n')
            ++next;
        for (equals = line; equals < next && buffer[equals] != '='; ++equals) {
        }
        size_t to = equals;
        while (line < to && IsBlank(buffer[line]))
            ++line;
        while (to > line && IsBlank(buffer[to - 1]))
            --to;
        if (equals < next && IsEitherName(buffer + line, to - line, path, shortPath))
            return true;
        line = next + 1;
    }
    return false;
}

bool PendingListReplaces(const char *list, size_t size, const char *path, const char *shortPath)
{
    static const char Prefix[] = "\\??\\";
    const size_t PrefixLength = sizeof Prefix - 1;
    size_t at = 0;
    for (bool target = false;; target = !target) {
        size_t end = at;
        while (end < size && list[end] != '\0')
            ++end;
        // An empty string where a source would be ends the list.
        if (!target && end == at)
            return false;
        if (target) {
            size_t from = at < end && list[at] == '!' ? at + 1 : at;
            if (end - from > PrefixLength && IsNameNoCase(list + from, PrefixLength, Prefix) &&
                IsEitherName(list + from + PrefixLength, end - from - PrefixLength, path, shortPath))
                return true;
        }
        if (end >= size)
            return false;
        at = end + 1;
    }
}
