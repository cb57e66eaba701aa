// The test driver's parts share this: one report line per command, the arguments of a
// command, each part's table of commands, and the program the driver started.
#ifndef PDCLEAN_TOOLS_WINE_DRIVER_H
#define PDCLEAN_TOOLS_WINE_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

// NAME:ARG[:ARG...] split at its colons; a drive letter's colon stays in its argument.
typedef std::vector<std::wstring> Args;

struct Command {
    const wchar_t *name;
    size_t args; // at least this many, the name included
    int (*run)(const Args &); // reports one line; a nonzero result stops the driver
};

struct CommandTable {
    const Command *commands;
    size_t count;
};

// Each part's commands: windows and input; files and holds; registry and security; processes.
extern const CommandTable WindowCommands, FileCommands, RegistryCommands, ProcessCommands;

void Report(const char *format, ...);
std::string Hex(const char *bytes, size_t count);
// The i-th argument as a number, or otherwise when there is none.
DWORD Number(const Args &args, size_t i, DWORD otherwise);

// The program the last start command started, and whether it still runs.
extern PROCESS_INFORMATION child;
extern bool childStarted;
bool ChildRunning();
// Ends whatever the driver started and left running.
void EndStartedPrograms();

// Before a program starts as a 9x version: MoveFileEx's delay refused until the driver ends,
// as on those systems; true once it is. At the end: one line on where that run scheduled
// deletions (wininit.ini, NT's list), and the rule the driver found put back.
bool Begin9xRun();
void End9xRun();

// The child's visible top-level windows of a class ("#32770": its message boxes).
std::vector<HWND> ChildTopLevels(const char *className);
// Handles the driver's own window's messages, between commands.
void PumpOwnMessages();

#endif
