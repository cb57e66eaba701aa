// Figures for the file removal, printed, not asserted: tree removal against the system's
// own "rd /s /q", and the wininit.ini insertion against the size of the file.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "files/restart.h"
#include "files/tree.h"
#include "bench/bench.h"

static void MakeTree(const std::string &root, int dirs, int filesPerDir)
{
    CreateDirectoryA(root.c_str(), NULL);
    for (int d = 0; d < dirs; ++d) {
        std::string dir = root + "\\d" + std::to_string(d);
        CreateDirectoryA(dir.c_str(), NULL);
        for (int f = 0; f < filesPerDir; ++f) {
            std::string path = dir + "\\f" + std::to_string(f) + ".dat";
            HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            DWORD n;
            WriteFile(h, "pdclean", 7, &n, NULL);
            CloseHandle(h);
        }
    }
}

static double RunCommand(const char *commandLine)
{
    std::string line = commandLine;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    double took = Now() - start;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return took;
}

void BenchTree()
{
    CreateDirectoryA("C:\\pdbench", NULL);
    MakeTree("C:\\pdbench\\ours", 100, 100);
    MakeTree("C:\\pdbench\\rd", 100, 100);
    double start = Now();
    bool removed = RemoveDirectoryTree("C:\\pdbench\\ours") == static_cast<Outcome>(2);
    double ours = Now() - start;
    double cmdAlone = RunCommand("cmd /c rem");
    double rd = RunCommand("cmd /c rd /s /q C:\\pdbench\\rd");
    bool rdRemoved = GetFileAttributesA("C:\\pdbench\\rd") == INVALID_FILE_ATTRIBUTES;
    printf("tree of 10000 files in 100 directories:\n");
    printf("  RemoveDirectoryTree   %8.3f s (%s)\n", ours, removed ? "Deleted" : "NOT removed");
    printf("  cmd /c rd /s /q       %8.3f s (%s; of which %.3f s start-up of cmd alone)\n", rd,
           rdRemoved ? "removed" : "NOT removed", cmdAlone);
    printf("  ratio ours / rd       %8.2f (ours / (rd - cmd start-up): %.2f)\n", ours / rd,
           ours / (rd - cmdAlone));
    RemoveDirectoryA("C:\\pdbench");
}

void BenchRenameList()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string ini = std::string(windows) + "\\wininit.ini";
    std::string target = "C:\\pdbench.dll";
    HANDLE t = CreateFileA(target.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(t);
    printf("one entry into wininit.ini, its section at the top with a large one after it, so every\n"
           "later byte moves:\n");
    for (DWORD size : {64u << 10, 1u << 20, 16u << 20}) {
        double best = 1e9;
        for (int round = 0; round < 5; ++round) {
            std::string content = "[rename]\r\n[large]\r\n";
            content.resize(size, 'x');
            HANDLE h = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            DWORD n;
            WriteFile(h, content.data(), size, &n, NULL);
            CloseHandle(h);
            double start = Now();
            bool ok = AddToRenameList(target.c_str(), NULL);
            double took = Now() - start;
            if (!ok)
                printf("  insertion FAILED\n");
            if (took < best)
                best = took;
        }
        printf("  %8lu bytes  %9.3f ms  %6.2f ns/byte (best of 5)\n", static_cast<unsigned long>(size),
               best * 1e3, best * 1e9 / size);
    }
    DeleteFileA(ini.c_str());
    DeleteFileA(target.c_str());
}
