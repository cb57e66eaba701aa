#include "core/text.h"

size_t TextLength(const char *s)
{
    size_t n = 0;
    while (s[n] != '\0')
        ++n;
    return n;
}

static bool Compose(char *out, size_t capacity, const char *a, const char *separator,
                    const char *b)
{
    size_t na = TextLength(a), ns = TextLength(separator), nb = TextLength(b);
    if (capacity == 0)
        return false;
    if (na >= capacity || ns >= capacity - na || nb >= capacity - na - ns) {
        out[0] = '\0';
        return false;
    }
    char *p = out;
    for (size_t i = 0; i < na; ++i)
        *p++ = a[i];
    for (size_t i = 0; i < ns; ++i)
        *p++ = separator[i];
    for (size_t i = 0; i < nb; ++i)
        *p++ = b[i];
    *p = '\0';
    return true;
}

bool JoinPath(char *out, size_t capacity, const char *dir, const char *name)
{
    return Compose(out, capacity, dir, "\\", name);
}

bool ConcatPath(char *out, size_t capacity, const char *a, const char *b)
{
    return Compose(out, capacity, a, "", b);
}
