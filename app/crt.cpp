// The few memory routines the compiler may call on its own, since no C runtime is linked.
#include <stddef.h>

#define NO_LOOP_CALLS __attribute__((optimize("no-tree-loop-distribute-patterns")))

extern "C" {

NO_LOOP_CALLS void *memset(void *dest, int value, size_t count)
{
    unsigned char *d = static_cast<unsigned char *>(dest);
    while (count--)
        *d++ = static_cast<unsigned char>(value);
    return dest;
}

NO_LOOP_CALLS void *memcpy(void *dest, const void *src, size_t count)
{
    unsigned char *d = static_cast<unsigned char *>(dest);
    const unsigned char *s = static_cast<const unsigned char *>(src);
    while (count--)
        *d++ = *s++;
    return dest;
}

NO_LOOP_CALLS void *memmove(void *dest, const void *src, size_t count)
{
    unsigned char *d = static_cast<unsigned char *>(dest);
    const unsigned char *s = static_cast<const unsigned char *>(src);
    if (d < s) {
        while (count--)
            *d++ = *s++;
    } else {
        while (count--)
            d[count] = s[count];
    }
    return dest;
}

NO_LOOP_CALLS size_t strlen(const char *s)
{
    size_t n = 0;
    while (s[n] != '\0')
        ++n;
    return n;
}

NO_LOOP_CALLS int memcmp(const void *a, const void *b, size_t count)
{
    const unsigned char *x = static_cast<const unsigned char *>(a);
    const unsigned char *y = static_cast<const unsigned char *>(b);
    for (; count; --count, ++x, ++y) {
        if (*x != *y)
            return *x < *y ? -1 : 1;
    }
    return 0;
}
}
