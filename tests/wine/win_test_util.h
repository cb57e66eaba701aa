// Helpers of the Win32 glue tests: throwaway places on the real file system of the prefix,
// and a helper process that holds a file open without sharing.
#ifndef PDCLEAN_WIN_TEST_UTIL_H
#define PDCLEAN_WIN_TEST_UTIL_H

#include <windows.h>

#include <string>

#include "core/kinds.h"

// A fresh, empty directory for one test; its path without a trailing backslash.
std::string ScratchDir(const char *name);

void WriteBytes(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);  // "<missing>" when it cannot be read
bool Exists(const std::string &path);
std::string WindowsDir();  // without a trailing backslash
std::string SystemDir();
std::string WininitPath();
std::string ShortName(const std::string &path);  // its 8.3 form, as wininit.ini holds it

// A fresh session for one run as the given Windows version, with no dialog to show rows in.
void StartSession(PlatformKind kind);

// A registry key name longer than the 255 characters the tree walk reads. Wine takes names
// up to 256 characters, and only through the wide calls.
std::wstring LongKeyName();

// While alive, another process holds the file open with no sharing at all.
struct HeldFile {
    // share: the sharing the holder grants others (none by default).
    explicit HeldFile(const std::string &path, DWORD share = 0);
    ~HeldFile();
    bool held;
    PROCESS_INFORMATION process;
    HANDLE release;
};

// Called first in main: when started as the helper, holds the file and never returns.
void RunHelperIfAsked(int argc, char **argv);

// Runs action on this thread while another dismisses the message box it shows and
// reports the box's caption and text, "" when none appeared.
struct BoxSeen {
    std::string caption, text;
    bool iconShown;
    HICON icon;  // the shared system icon it shows, as LoadIcon(NULL, IDI_...) returns it
};
BoxSeen WithBoxAnswered(void (*action)(void *), void *context);

#endif
