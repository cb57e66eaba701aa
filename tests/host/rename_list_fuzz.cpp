// For any old content, read independently of the edit: a UTF-16 file is left alone; else the
// entry line stands directly under the text's first header line (a line reading "[rename]"
// in any letter case with spaces or tabs around it, ended by CR LF, by a line feed or by the
// end of the text, which then gets a CR LF), or, with no such line, under a new "[rename]"
// header at the end of the text (after a CR LF when its last line is unfinished). The text
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
            return finished ? old.substr(0, lineEnd) + Line + old.substr(lineEnd)
                            : old.substr(0, end) + "\r\n" + Line + old.substr(end);
        start = lineEnd;
    }
    std::string breakFirst = end > 0 && old[end - 1] != '\n' ? "\r\n" : "";
    return old.substr(0, end) + breakFirst + "[rename]\r\n" + Line + old.substr(end);
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
    free(buffer);
    return 0;
}
