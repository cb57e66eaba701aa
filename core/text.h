// Bounded joins of narrow strings, free of Win32 so host tests and fuzzers reach them.
#ifndef PDCLEAN_CORE_TEXT_H
#define PDCLEAN_CORE_TEXT_H

#include <stddef.h>

// The bytes before the terminator.
size_t TextLength(const char *s);

// Writes dir, "\" and name into out (capacity bytes with the terminator); false, leaving
// out as an empty string, when that would not fit.
bool JoinPath(char *out, size_t capacity, const char *dir, const char *name);

// Copies a then b into out; false, leaving out empty, when that would not fit.
bool ConcatPath(char *out, size_t capacity, const char *a, const char *b);

#endif
