// The path rules on any bytes: no read past the terminator, and what IsShortPath accepts
// has components of at most 12 bytes.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "core/text.h"
#include "files/path_rules.h"

static bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char *text = static_cast<char *>(malloc(size + 1));
    memcpy(text, data, size);
    text[size] = '\0';
    if (IsShortPath(text, Cp932Lead)) {
        size_t run = 0;
        for (const char *p = text; *p; ++p) {
            run = *p == '\\' ? 0 : run + 1;
            if (run > 12)
                abort();
        }
    }
    IsTreeTarget(text, Cp932Lead); // these read no byte past the terminator
    IsOemInfName(text);
    char out[16];
    size_t half = strlen(text) / 2;
    char *second = text + half;
    if (JoinPath(out, sizeof out, second, second) && strlen(out) >= sizeof out)
        abort();
    free(text);
    return 0;
}
