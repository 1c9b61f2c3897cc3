// Drives the band with the real pointer, for the scripted demo: moves the cursor and injects
// clicks through the system's input queue, exactly as a user's mouse would.
//
//   PointerScript.exe step [step ...]
//
// Steps, run in order; the program stops with exit code 1 at the first that fails:
//   wait-band MS      wait up to MS milliseconds for the band window
//   click I           move onto button I of the strip (left orientation) and click it
//   hover I           move onto button I and stay there
//   away              move the pointer off the band's host window
//   sleep MS          wait MS milliseconds
//   wait-tooltip MS   wait up to MS milliseconds for the band's tooltip to show
//   where             print the cursor position and the class of the window under it
//   crop              print "crop WxH+X+Y": the host window and a showing tooltip, on screen
//   close-host        ask the band's top-level window to close
//   close-player      ask the player's window to close

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/FindBand.h"
#include "tools/LineLog.h"

namespace {

constexpr int kButtonCell = 18;
constexpr char kPlayerWindowClass[] = "StrappaPlayerSimulator";

LineLog logger;

bool takesNumber(const std::string& step) {
    return step == "wait-band" || step == "click" || step == "hover" || step == "sleep" ||
           step == "wait-tooltip";
}

bool parseNumber(const char* text, long* value) {
    char* end = nullptr;
    *value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && *value >= 0;
}

HWND band() {
    HWND window = FindBandWindow();
    if (!window) logger.line("no band window");
    return window;
}

void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    SendInput(1, &input, sizeof input);
}

// Puts the cursor on a screen point through the input queue, so that the window under it gets
// its WM_MOUSEMOVE (and the tooltip control its relayed move) as from a real mouse.
bool moveTo(POINT target) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Absolute coordinates are 0..65535 across the primary screen; round to the pixel's middle.
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
              static_cast<LONG>((target.x * 65536LL + 32768) / width),
              static_cast<LONG>((target.y * 65536LL + 32768) / height));
    Sleep(50);
    POINT now;
    GetCursorPos(&now);
    if (now.x != target.x || now.y != target.y) SetCursorPos(target.x, target.y);
    GetCursorPos(&now);
    return now.x == target.x && now.y == target.y;
}

bool moveToButton(int index) {
    HWND window = band();
    if (!window) return false;
    RECT client;
    GetClientRect(window, &client);
    POINT centre = {kButtonCell * index + kButtonCell / 2, (client.bottom - client.top) / 2};
    ClientToScreen(window, &centre);
    if (!moveTo(centre)) {
        logger.line("the cursor did not reach (%ld, %ld)", centre.x, centre.y);
        return false;
    }
    return true;
}

struct TooltipSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK checkTooltip(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TooltipSearch*>(context);
    char name[64] = {};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) &&
        GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, TOOLTIPS_CLASSA) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A tooltip window of the band's process that is showing, or null.
HWND visibleTooltip(HWND bandWindow) {
    if (!bandWindow) return nullptr;
    TooltipSearch search = {0, nullptr};
    GetWindowThreadProcessId(bandWindow, &search.process);
    EnumWindows(checkTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool waitFor(long milliseconds, HWND (*probe)()) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (!probe()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);
    }
    return true;
}

bool closeWindow(HWND window, const char* what) {
    if (!window) {
        logger.line("no %s window to close", what);
        return false;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    return true;
}

bool runStep(const std::string& step, const char* argument) {
    long value = 0;
    if (takesNumber(step) && (!argument || !parseNumber(argument, &value))) {
        logger.line("%s needs a number", step.c_str());
        return false;
    }
    if (step == "wait-band") {
        if (waitFor(value, FindBandWindow)) return true;
        logger.line("no band window after %ld ms", value);
        return false;
    }
    if (step == "click") {
        if (!moveToButton(static_cast<int>(value))) return false;
        sendMouse(MOUSEEVENTF_LEFTDOWN);
        Sleep(50);
        sendMouse(MOUSEEVENTF_LEFTUP);
        Sleep(100);
        return true;
    }
    if (step == "hover") return moveToButton(static_cast<int>(value));
    if (step == "away") {
        HWND window = band();
        if (!window) return false;
        RECT host;
        GetWindowRect(GetAncestor(window, GA_ROOT), &host);
        return moveTo(POINT{host.left + (host.right - host.left) / 2, host.bottom + 150});
    }
    if (step == "sleep") {
        Sleep(static_cast<DWORD>(value));
        return true;
    }
    if (step == "wait-tooltip") {
        if (waitFor(value, [] { return visibleTooltip(FindBandWindow()); })) return true;
        logger.line("no tooltip after %ld ms", value);
        return false;
    }
    if (step == "where") {
        POINT cursor;
        GetCursorPos(&cursor);
        char name[64] = "none";
        if (HWND under = WindowFromPoint(cursor)) GetClassNameA(under, name, sizeof name);
        logger.line("cursor at (%ld, %ld) over %s", cursor.x, cursor.y, name);
        return true;
    }
    if (step == "crop") {
        HWND window = band();
        if (!window) return false;
        RECT area;
        GetWindowRect(GetAncestor(window, GA_ROOT), &area);
        if (HWND tip = visibleTooltip(window)) {
            RECT tipRect;
            GetWindowRect(tip, &tipRect);
            UnionRect(&area, &area, &tipRect);
        }
        area.left = std::max(0L, area.left - 4);
        area.top = std::max(0L, area.top - 4);
        logger.line("crop %ldx%ld+%ld+%ld", area.right + 4 - area.left,
                    area.bottom + 4 - area.top, area.left, area.top);
        return true;
    }
    if (step == "close-host") {
        HWND window = band();
        return closeWindow(window ? GetAncestor(window, GA_ROOT) : nullptr, "host");
    }
    if (step == "close-player") {
        return closeWindow(FindWindowA(kPlayerWindowClass, nullptr), "player");
    }
    logger.line("unknown step %s", step.c_str());
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    for (int i = 1; i < __argc; ++i) {
        const std::string step = __argv[i];
        const char* argument = takesNumber(step) && i + 1 < __argc ? __argv[++i] : nullptr;
        if (!runStep(step, argument)) {
            LineLog::error("PointerScript: step %s failed", step.c_str());
            return 1;
        }
    }
    return 0;
}
