// The driver's commands on windows and input: pdclean's dialog and message boxes, found
// among the started program's windows, read through messages and acted on with real input.
#define UNICODE
#define _UNICODE
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tools/wine/driver.h"

static HWND helperWindow = NULL;

static std::string WindowTextHex(HWND window)
{
    char text[1024];
    // WM_GETTEXT is marshalled across processes, unlike a plain read of a control's text.
    LRESULT n = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return Hex(text, n > 0 ? static_cast<size_t>(n) : 0);
}

static std::string ClassOf(HWND window)
{
    char name[256];
    int n = GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

struct WindowSearch {
    DWORD processId;
    const char *className;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && IsWindowVisible(window) &&
        ClassOf(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> ChildTopLevels(const char *className)
{
    WindowSearch search = {child.dwProcessId, className, {}};
    if (childStarted)
        EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

static HWND WaitForTopLevel(const char *className, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = ChildTopLevels(className);
        if (!found.empty())
            return found[0];
        if (!ChildRunning() || GetTickCount() - start > timeoutMs)
            return NULL;
        Sleep(2); // fine enough to time how soon a box follows a click
    }
}

static HWND MainDialog()
{
    std::vector<HWND> found = ChildTopLevels("PDCLEAN");
    return found.empty() ? NULL : found[0];
}

static HWND FocusOfChild()
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(child.dwThreadId, &info))
        return NULL;
    return info.hwndFocus;
}

// Input ------------------------------------------------------------------------------------

static void SendKeys(const std::vector<WORD> &down)
{
    std::vector<INPUT> inputs;
    for (WORD vk : down) {
        INPUT in;
        ZeroMemory(&in, sizeof in);
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        inputs.push_back(in);
    }
    for (size_t i = down.size(); i-- > 0;) {
        INPUT in = inputs[i];
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

static void ClickAt(int x, int y)
{
    int cx = GetSystemMetrics(SM_CXSCREEN) - 1, cy = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT in[3];
    ZeroMemory(in, sizeof in);
    for (INPUT &i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = x * 65535 / cx;
        i.mi.dy = y * 65535 / cy;
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in[0], sizeof(INPUT));
    Sleep(30);
    SendInput(2, &in[1], sizeof(INPUT));
}

static void ClickCentre(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

static void BringToFront(HWND window)
{
    SetForegroundWindow(window);
    Sleep(100);
}

// Reports ----------------------------------------------------------------------------------

static void ReportControls(HWND dialog)
{
    HWND focus = FocusOfChild();
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        Report("control id=%d class=%s text=%s enabled=%d visible=%d focus=%d style=%08lx",
               GetDlgCtrlID(c), ClassOf(c).c_str(), WindowTextHex(c).c_str(),
               IsWindowEnabled(c) ? 1 : 0, IsWindowVisible(c) ? 1 : 0, c == focus ? 1 : 0,
               static_cast<unsigned long>(GetWindowLongW(c, GWL_STYLE)));
    }
}

// Which standard icon a message box shows, told by comparing its pixels on screen with each
// standard icon drawn the same way: icon handles of another process cannot be read here.
static std::string IconOf(HWND box)
{
    HWND icon = GetDlgItem(box, 1088);
    // The handle is only compared with null here, which is safe across processes.
    if (icon == NULL || !IsWindowVisible(icon) || SendMessageW(icon, STM_GETICON, 0, 0) == 0)
        return "none";
    RECT r;
    GetWindowRect(icon, &r);
    int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    HDC screen = GetDC(NULL);
    HDC shot = CreateCompatibleDC(screen);
    HDC mine = CreateCompatibleDC(screen);
    HBITMAP shotBits = CreateCompatibleBitmap(screen, w, h);
    HBITMAP mineBits = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ oldShot = SelectObject(shot, shotBits);
    HGDIOBJ oldMine = SelectObject(mine, mineBits);
    BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    COLORREF background = GetPixel(shot, 0, 0);

    static const struct {
        LPCWSTR id;
        const char *name;
    } candidates[] = {{IDI_HAND, "error"}, {IDI_EXCLAMATION, "warning"},
                      {IDI_ASTERISK, "information"}, {IDI_QUESTION, "question"}};
    std::string best = "unknown";
    long bestDiff = w * h;
    for (const auto &c : candidates) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, w, h};
        FillRect(mine, &all, brush);
        DeleteObject(brush);
        DrawIconEx(mine, 0, 0, LoadIconW(NULL, c.id), w, h, 0, NULL, DI_NORMAL);
        long diff = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                diff += GetPixel(mine, x, y) != GetPixel(shot, x, y);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = c.name;
        }
    }
    SelectObject(shot, oldShot);
    SelectObject(mine, oldMine);
    DeleteObject(shotBits);
    DeleteObject(mineBits);
    DeleteDC(shot);
    DeleteDC(mine);
    ReleaseDC(NULL, screen);
    // Anything but a near-exact match is not a standard icon.
    return bestDiff * 20 < w * h ? best : "unknown";
}

// When the last click on the dialog was sent, to time what follows it.
static LARGE_INTEGER lastClick;

static double MsSinceLastClick()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return lastClick.QuadPart == 0 ? -1.0 : (now.QuadPart - lastClick.QuadPart) * 1000.0 / frequency.QuadPart;
}

static void ReportBox(HWND box)
{
    double afterClick = MsSinceLastClick();
    std::string text = "-", buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c))
            continue;
        std::string cls = ClassOf(c);
        if (cls == "Static" && GetDlgCtrlID(c) == 0xFFFF)
            text = WindowTextHex(c);
        if (cls == "Button") {
            if (!buttons.empty())
                buttons += ",";
            buttons += std::to_string(GetDlgCtrlID(c));
        }
    }
    HWND owner = GetWindow(box, GW_OWNER);
    Sleep(150); // let the box paint its icon before the pixels are read
    Report("box caption=%s text=%s icon=%s buttons=%s owner=%s afterclick=%.1f", WindowTextHex(box).c_str(),
           text.c_str(), IconOf(box).c_str(), buttons.empty() ? "-" : buttons.c_str(),
           owner == NULL ? "none" : (owner == MainDialog() ? "dialog" : "other"), afterClick);
}

// Screenshot of a window's screen area, as a 24-bit BMP.
static bool SaveWindowBitmap(HWND window, const wchar_t *path)
{
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bits = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bits);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * h);
    GetDIBits(memory, bits, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO *>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bits);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);

    BITMAPFILEHEADER file;
    ZeroMemory(&file, sizeof file);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE *out = _wfopen(path, L"wb");
    if (!out)
        return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info, sizeof info, 1, out);
    fwrite(pixels.data(), 1, pixels.size(), out);
    fclose(out);
    return true;
}

// Resource surgery on a copy of the program, for the broken-template tests -----------------

static std::vector<unsigned char> ReadDialogTemplate(const wchar_t *exe)
{
    std::vector<unsigned char> bytes;
    HMODULE module = LoadLibraryExW(exe, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return bytes;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(103), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (found) {
        const unsigned char *data =
            static_cast<const unsigned char *>(LockResource(LoadResource(module, found)));
        bytes.assign(data, data + SizeofResource(module, found));
    }
    FreeLibrary(module);
    return bytes;
}

static bool ReplaceDialog(const wchar_t *exe, const std::vector<unsigned char> &bytes)
{
    HANDLE update = BeginUpdateResourceW(exe, FALSE);
    if (!update)
        return false;
    BOOL ok = UpdateResourceW(update, reinterpret_cast<LPCWSTR>(RT_DIALOG), MAKEINTRESOURCEW(103),
                              MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                              const_cast<unsigned char *>(bytes.data()),
                              static_cast<DWORD>(bytes.size()));
    return EndUpdateResourceW(update, !ok) && ok;
}

// Renames the template's window class to one nobody registers.
static bool DamageDialog(const wchar_t *exe)
{
    std::vector<unsigned char> bytes = ReadDialogTemplate(exe);
    static const wchar_t name[] = L"PDCLEAN";
    for (size_t i = 0; i + sizeof name <= bytes.size(); i += 2) {
        if (memcmp(&bytes[i], name, sizeof name) == 0) {
            bytes[i + 12] = 'X';
            return ReplaceDialog(exe, bytes);
        }
    }
    return false;
}

static LRESULT CALLBACK HelperProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefWindowProcW(w, m, wp, lp);
}

static HWND Helper()
{
    if (!helperWindow) {
        WNDCLASSW wc;
        ZeroMemory(&wc, sizeof wc);
        wc.lpfnWndProc = HelperProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"PdDriverHelper";
        RegisterClassW(&wc);
        helperWindow = CreateWindowW(L"PdDriverHelper", L"driver", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     0, 0, 120, 80, NULL, NULL, wc.hInstance, NULL);
    }
    return helperWindow;
}

void PumpOwnMessages()
{
    MSG m;
    while (PeekMessageW(&m, NULL, 0, 0, PM_REMOVE))
        DispatchMessageW(&m);
}

static int Dialog(const Args &a)
{
    HWND d = WaitForTopLevel("PDCLEAN", Number(a, 1, 10000));
    if (d)
        Report("dialog caption=%s", WindowTextHex(d).c_str());
    else
        Report("dialog none");
    return 0;
}

static int Controls(const Args &)
{
    HWND d = MainDialog();
    if (!d) {
        Report("controls none");
        return 0;
    }
    Sleep(100);
    ReportControls(d);
    return 0;
}

static int Box(const Args &a)
{
    HWND b = WaitForTopLevel("#32770", Number(a, 1, 10000));
    if (b)
        ReportBox(b);
    else
        Report("box none");
    return 0;
}

static int BoxCount(const Args &)
{
    Report("boxcount %u", static_cast<unsigned>(ChildTopLevels("#32770").size()));
    return 0;
}

static int NoBox(const Args &a)
{
    Sleep(Number(a, 1, 1000));
    Report("nobox %s", ChildTopLevels("#32770").empty() ? "ok" : "appeared");
    return 0;
}

static int Answer(const Args &a)
{
    std::vector<HWND> boxes = ChildTopLevels("#32770");
    HWND button = boxes.empty() ? NULL : GetDlgItem(boxes[0], Number(a, 1, IDOK));
    if (!button) {
        Report("answer none");
        return 0;
    }
    BringToFront(boxes[0]);
    ClickCentre(button);
    // The next command must find the box gone and its owner enabled again.
    DWORD start = GetTickCount();
    while (IsWindow(boxes[0]) && GetTickCount() - start < 5000)
        Sleep(5);
    Sleep(50);
    Report("answer %s", IsWindow(boxes[0]) ? "stuck" : "clicked");
    return 0;
}

static int Click(const Args &a)
{
    HWND d = MainDialog();
    HWND c = d ? GetDlgItem(d, Number(a, 1, IDOK)) : NULL;
    if (!c) {
        Report("click none");
        return 0;
    }
    BringToFront(d);
    ClickCentre(c);
    QueryPerformanceCounter(&lastClick);
    Report("click done");
    return 0;
}

// A command any program may post, whatever state the button is in.
static int Post(const Args &a)
{
    HWND d = MainDialog();
    Report("post %s", d && PostMessageW(d, WM_COMMAND, Number(a, 1, IDOK), 0) ? "done" : "none");
    return 0;
}

static int Key(const Args &a)
{
    static const struct {
        const wchar_t *name;
        std::vector<WORD> keys;
    } named[] = {{L"esc", {VK_ESCAPE}}, {L"enter", {VK_RETURN}}, {L"tab", {VK_TAB}},
                 {L"altf4", {VK_MENU, VK_F4}}};
    for (const auto &k : named) {
        if (a[1] != k.name)
            continue;
        HWND d = MainDialog();
        if (d)
            BringToFront(d);
        SendKeys(k.keys);
        Sleep(200);
        Report("key sent");
        return 0;
    }
    Report("key unknown");
    return 1;
}

static int CloseBox(const Args &)
{
    HWND d = MainDialog();
    if (!d) {
        Report("closebox none");
        return 0;
    }
    BringToFront(d);
    RECT r;
    GetWindowRect(d, &r);
    // Find the close button by asking the window itself what lies under each point.
    int captionY = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = r.right - 1; x > r.left; --x) {
        for (int y = r.top; y < captionY + GetSystemMetrics(SM_CYCAPTION); ++y) {
            if (SendMessageW(d, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                ClickAt(x - 3, y + 3);
                Report("closebox clicked");
                return 0;
            }
        }
    }
    Report("closebox notfound");
    return 0;
}

// Activates another window and then pdclean's windows, over and over.
static int Churn(const Args &a)
{
    HWND h = Helper();
    DWORD times = Number(a, 1, 5);
    for (DWORD i = 0; i < times; ++i) {
        SetForegroundWindow(h);
        PumpOwnMessages();
        Sleep(60);
        HWND d = MainDialog();
        if (d)
            SetForegroundWindow(d);
        Sleep(60);
        std::vector<HWND> boxes = ChildTopLevels("#32770");
        if (!boxes.empty())
            SetForegroundWindow(boxes[0]);
        Sleep(60);
    }
    Report("churn done");
    return 0;
}

static int Shot(const Args &a)
{
    HWND w = a[1] == L"box" ? WaitForTopLevel("#32770", 5000) : MainDialog();
    if (w)
        BringToFront(w);
    Sleep(300);
    Report("shot %s", w && SaveWindowBitmap(w, a[2].c_str()) ? "saved" : "failed");
    return 0;
}

static int DamageDialogOf(const Args &a)
{
    Report("damagedialog %s", DamageDialog(a[1].c_str()) ? "done" : "failed");
    return 0;
}

static const Command Commands[] = {
    {L"dialog", 1, Dialog},     {L"controls", 1, Controls}, {L"box", 1, Box},
    {L"boxcount", 1, BoxCount}, {L"nobox", 1, NoBox},       {L"answer", 1, Answer},
    {L"click", 1, Click},       {L"post", 1, Post},         {L"key", 2, Key},
    {L"closebox", 1, CloseBox}, {L"churn", 1, Churn},       {L"shot", 3, Shot},
    {L"damagedialog", 2, DamageDialogOf},
};
const CommandTable WindowCommands = {Commands, ARRAYSIZE(Commands)};
