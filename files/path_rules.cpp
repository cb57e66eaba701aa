#include "files/path_rules.h"

bool IsAbsentError(unsigned long error)
{
    return error == 2 || error == 3 || error == 161;
}

TreeEntry ClassifyTreeEntry(unsigned long attributes)
{
    const unsigned long Invalid = 0xFFFFFFFFul, Directory = 0x10, ReparsePoint = 0x400;
    if (attributes == Invalid)
        return TreeEntry::Directory;
    bool directory = (attributes & Directory) != 0;
    if (attributes & ReparsePoint)
        return directory ? TreeEntry::DirectoryLink : TreeEntry::FileLink;
    return directory ? TreeEntry::Directory : TreeEntry::File;
}

// One component [begin, end): an 8.3 name, ".", "..", a drive "C:" or empty (after "\\").
static bool IsShortComponent(const unsigned char *begin, const unsigned char *end,
                             bool (*isLeadByte)(unsigned char))
{
    size_t n = static_cast<size_t>(end - begin);
    if (n == 0 || (n == 1 && begin[0] == '.') || (n == 2 && begin[0] == '.' && begin[1] == '.'))
        return true;
    if (n == 2 && begin[1] == ':')
        return true;
    size_t name = 0, extension = 0;
    bool inExtension = false;
    for (const unsigned char *p = begin; p < end;) {
        size_t width = isLeadByte(*p) ? 2 : 1;
        if (*p == ' ')
            return false;
        if (*p == '.') {
            if (inExtension || name == 0)
                return false;
            inExtension = true;
        } else if (inExtension) {
            extension += width;
        } else {
            name += width;
        }
        p += width;
    }
    return name <= 8 && extension <= 3 && !(inExtension && extension == 0);
}

bool IsShortPath(const char *path, bool (*isLeadByte)(unsigned char))
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(path);
    if (*p == '\0')
        return false;
    const unsigned char *component = p;
    for (;;) {
        if (*p == '\0' || *p == '\\') {
            if (!IsShortComponent(component, p, isLeadByte))
                return false;
            if (*p == '\0')
                return true;
            component = ++p;
            continue;
        }
        if (isLeadByte(*p)) {
            if (p[1] == '\0')
                return false; // a lead byte without its trail byte
            ++p;
        }
        ++p;
    }
}

static bool IsSeparator(unsigned char c)
{
    return c == '\\' || c == '/';
}

static bool IsDotComponent(const unsigned char *start, const unsigned char *end)
{
    size_t n = static_cast<size_t>(end - start);
    return (n == 1 && start[0] == '.') || (n == 2 && start[0] == '.' && start[1] == '.');
}

bool IsTreeTarget(const char *path, bool (*isLeadByte)(unsigned char))
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(path);
    bool unc = IsSeparator(p[0]) && IsSeparator(p[1]);
    bool drive = ((p[0] | 0x20) >= 'a' && (p[0] | 0x20) <= 'z') && p[1] == ':';
    if (drive)
        p += 2;
    int components = 0;
    const unsigned char *component = p;
    for (;; ++p) {
        if (*p == '\0' || IsSeparator(*p)) {
            if (IsDotComponent(component, p))
                return false;
            if (p > component)
                ++components;
            if (*p == '\0')
                break;
            component = p + 1;
            continue;
        }
        if (isLeadByte(*p)) {
            if (p[1] == '\0')
                return false; // a lead byte without its trail byte
            ++p;
        }
    }
    // A UNC path names its server and share first: a tree must lie below them.
    return components > (unc ? 2 : 0);
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsOemInfName(const char *name)
{
    static const char Shape[] = "oem#.inf"; // '#': one or more decimal digits
    for (const char *s = Shape; *s != '\0'; ++s) {
        if (*s == '#') {
            if (!IsDigit(*name))
                return false;
            while (IsDigit(*name))
                ++name;
            continue;
        }
        char c = *name++; // the terminator never matches, so no read goes past it
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != *s)
            return false;
    }
    return *name == '\0';
}
