// Test driver, run under Wine beside pdclean: starts it, finds its dialog and message boxes,
// reads their controls, acts through real input (SendInput), and reports what it saw.
//
// Usage: pddriver.exe COMMAND...  Each command is NAME or NAME:ARG[:ARG]; one report line each.
// Texts are printed as hex bytes exactly as the ANSI calls return them (code page 932 under a
// Japanese locale), so the tests compare bytes, not what a console made of them.
#define UNICODE
#define _UNICODE
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "tools/wine/driver.h"

void Report(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    fflush(stdout);
}

std::string Hex(const char *bytes, size_t count)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out.empty() ? "-" : out;
}

static std::vector<std::wstring> Split(const std::wstring &command)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t colon = command.find(L':', start);
        // Drive letters ("C:\...") stay in one piece.
        while (colon != std::wstring::npos && colon + 1 < command.size() &&
               command[colon + 1] == L'\\')
            colon = command.find(L':', colon + 1);
        parts.push_back(command.substr(start, colon - start));
        if (colon == std::wstring::npos)
            return parts;
        start = colon + 1;
    }
}

DWORD Number(const std::vector<std::wstring> &args, size_t i, DWORD otherwise)
{
    return i < args.size() ? static_cast<DWORD>(wcstoul(args[i].c_str(), NULL, 10)) : otherwise;
}

static const CommandTable *const Tables[] = {&WindowCommands, &FileCommands, &RegistryCommands,
                                             &ProcessCommands};

static int Run(const std::wstring &command)
{
    Args a = Split(command);
    PumpOwnMessages();
    for (const CommandTable *table : Tables) {
        for (size_t i = 0; i < table->count; ++i) {
            const Command &c = table->commands[i];
            if (a[0] == c.name && a.size() >= c.args)
                return c.run(a);
        }
    }
    Report("unknown command");
    return 1;
}

int wmain(int argc, wchar_t **argv)
{
    int status = 0;
    for (int i = 1; i < argc && status == 0; ++i)
        status = Run(argv[i]);
    EndStartedPrograms();
    End9xRun();
    return status;
}
