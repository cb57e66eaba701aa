#include <gtest/gtest.h>

#include <stdio.h>

#include "core/session.h"
#include "tests/wine/win_test_util.h"

static void RemoveTree(const std::string &dir)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

std::string ScratchDir(const char *name)
{
    CreateDirectoryA("C:\\pdtest", NULL);
    CreateDirectoryA("C:\\pdtest\\scratch", NULL);
    std::string dir = std::string("C:\\pdtest\\scratch\\") + name;
    RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

void WriteBytes(const std::string &path, const std::string &bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(f);
}

std::string ReadBytes(const std::string &path)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string out(GetFileSize(f, NULL), '\0');
    DWORD read = 0;
    if (!out.empty())
        ReadFile(f, &out[0], static_cast<DWORD>(out.size()), &read, NULL);
    CloseHandle(f);
    return out;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WindowsDir()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

std::string SystemDir()
{
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, sizeof dir);
    return dir;
}

std::string WininitPath()
{
    return WindowsDir() + "\\wininit.ini";
}

std::string ShortName(const std::string &path)
{
    char out[MAX_PATH];
    GetShortPathNameA(path.c_str(), out, sizeof out);
    return out;
}

void StartSession(PlatformKind kind)
{
    session = SessionState{};
    session.instance = GetModuleHandleA(NULL);
    session.platformKind = kind;
    session.firstActivation = false;
}

std::wstring LongKeyName()
{
    return L"x" + std::wstring(255, L'n');
}

HeldFile::HeldFile(const std::string &path, DWORD share) : held(false), process(), release(NULL)
{
    static int serial = 0;
    char ready[64], go[64];
    wsprintfA(ready, "pdtest-ready-%lu-%d", GetCurrentProcessId(), serial);
    wsprintfA(go, "pdtest-release-%lu-%d", GetCurrentProcessId(), serial++);
    HANDLE readyEvent = CreateEventA(NULL, TRUE, FALSE, ready);
    release = CreateEventA(NULL, TRUE, FALSE, go);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string line = std::string("\"") + self + "\" --hold \"" + path + "\" " + ready + " " + go +
                       " " + std::to_string(share);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (CreateProcessA(self, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &process))
        held = WaitForSingleObject(readyEvent, 10000) == WAIT_OBJECT_0;
    CloseHandle(readyEvent);
}

HeldFile::~HeldFile()
{
    SetEvent(release);
    if (process.hProcess) {
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(release);
}

void RunHelperIfAsked(int argc, char **argv)
{
    // --schedule PATH: asks for PATH's deletion at restart; exits 0 when the system took it,
    // else 1, so the harness can tell which road a version meets.
    if (argc == 3 && std::string(argv[1]) == "--schedule")
        ExitProcess(MoveFileExA(argv[2], NULL, MOVEFILE_DELAY_UNTIL_REBOOT) ? 0 : 1);
    if (argc != 6 || std::string(argv[1]) != "--hold")
        return;
    DWORD share = strtoul(argv[5], NULL, 10);
    HANDLE f = CreateFileA(argv[2], GENERIC_READ, share, NULL, OPEN_EXISTING, 0, NULL);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (f == INVALID_HANDLE_VALUE || !ready || !go)
        ExitProcess(2);
    SetEvent(ready);
    WaitForSingleObject(go, 60000);
    CloseHandle(f);
    ExitProcess(0);
}

struct Watch {
    DWORD threadId;
    BoxSeen seen;
    HANDLE stop;
};

static BOOL CALLBACK FindBox(HWND w, LPARAM param)
{
    Watch *watch = reinterpret_cast<Watch *>(param);
    char cls[32];
    GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(w))
        return TRUE;
    char text[1024];
    GetWindowTextA(w, text, sizeof text);
    watch->seen.caption = text;
    GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
    watch->seen.text = text;
    watch->seen.iconShown = IsWindowVisible(GetDlgItem(w, 1088)) != FALSE;
    watch->seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(w, 1088, STM_GETICON, 0, 0));
    PostMessageA(w, WM_COMMAND, IDOK, 0);
    return FALSE;
}

static DWORD WINAPI Watcher(void *param)
{
    Watch *watch = static_cast<Watch *>(param);
    while (WaitForSingleObject(watch->stop, 50) == WAIT_TIMEOUT && watch->seen.caption.empty())
        EnumThreadWindows(watch->threadId, FindBox, reinterpret_cast<LPARAM>(watch));
    return 0;
}

BoxSeen WithBoxAnswered(void (*action)(void *), void *context)
{
    Watch watch = {GetCurrentThreadId(), {"", "", false, NULL}, CreateEventA(NULL, TRUE, FALSE, NULL)};
    HANDLE thread = CreateThread(NULL, 0, Watcher, &watch, 0, NULL);
    action(context);
    SetEvent(watch.stop);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(watch.stop);
    return watch.seen;
}

int main(int argc, char **argv)
{
    RunHelperIfAsked(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
