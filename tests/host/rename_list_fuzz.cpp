// For any old content, read independently of the edit: a UTF-16 file is left alone; else the
// entry line stands last in the section of the text's first header line (a line reading
// "[rename]" in any letter case with spaces or tabs around it, ended by CR LF, by a line feed
// or by the end of the text), before the next line that starts with "[" after blanks, or, with
// no such line, under a new "[rename]" header at the end of the text; at the end of the text
// an unfinished last line gets a CR LF first. The text
// ends at the first zero byte or ^Z; every old byte stays, in order. Nothing is touched
// outside the buffer.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <string>

#include "files/rename_list.h"

static const char Line[] = "NUL=C:\\WINDOWS\\SYSTEM\\VAVAD.VXD\r\n";
static const size_t LineLength = sizeof Line - 1;

// The start of the first line from start on whose first byte after blanks is "[", or end.
static size_t SectionEnd(const std::string &old, size_t start, size_t end)
{
    while (start < end) {
        size_t first = old.find_first_not_of(" \t", start);
        if (first < end && old[first] == '[')
            return start;
        size_t lineEnd = old.find('\n', start);
        start = lineEnd == std::string::npos ? end : lineEnd + 1;
    }
    return end;
}

// The old bytes with the header (if any) and the line put in at offset at, after a CR LF
// where the line before is unfinished.
static std::string Appended(const std::string &old, size_t at, const std::string &header)
{
    std::string breakFirst = at > 0 && old[at - 1] != '\n' ? "\r\n" : "";
    return old.substr(0, at) + breakFirst + header + Line + old.substr(at);
}

// The bytes the edit must leave, built from the old ones line by line.
static std::string Expected(const std::string &old)
{
    size_t end = 0;
    while (end < old.size() && old[end] != '\0' && old[end] != 0x1A)
        ++end;
    for (size_t start = 0; start < end;) {
        size_t lineEnd = old.find('\n', start);
        if (lineEnd == std::string::npos || lineEnd >= end)
            lineEnd = end;
        else
            ++lineEnd;
        std::string line = old.substr(start, lineEnd - start);
        bool finished = !line.empty() && line.back() == '\n';
        std::string name = line;
        if (finished) {
            name.pop_back();
            if (!name.empty() && name.back() == '\r')
                name.pop_back();
        }
        size_t first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
        name = first == std::string::npos ? "" : name.substr(first, last - first + 1);
        if (name.size() == 8 && strncasecmp(name.data(), "[rename]", 8) == 0)
            return Appended(old, SectionEnd(old, lineEnd, end), "");
        start = lineEnd;
    }
    return Appended(old, end, "[rename]\r\n");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    size_t capacity = size + LineLength + RenameEditSpare;
    // Exactly sized, so the sanitizer catches any byte written or read past the room.
    char *buffer = static_cast<char *>(malloc(capacity));
    memcpy(buffer, data, size);
    size_t n = InsertRenameEntry(buffer, size, capacity, Line, LineLength);
    std::string old(reinterpret_cast<const char *>(data), size);
    bool utf16 = size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
    bool sound = utf16 ? n == 0 && memcmp(buffer, data, size) == 0
                       : n <= capacity && std::string(buffer, n) == Expected(old);
    if (!sound)
        abort();
    // The look-ups of queued work read no byte past the data: exactly sized here too.
    memcpy(buffer = static_cast<char *>(realloc(buffer, size + 1)), data, size);
    RenameListReplaces(buffer, size, "C:\\A.DLL", "");
    PendingListReplaces(buffer, size, "C:\\A.DLL", "C:\\B");
    free(buffer);
    return 0;
}
