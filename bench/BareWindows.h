// The baselines' windows: a host shaped like the band's; a child that paints through a back
// buffer as cheaply as such a paint can be (memory DC, fill, one DrawTextA, one BitBlt); the
// same paint with eight ImageList_Draw calls, the floor of a strip drawn from an image list;
// and a child whose procedure is DefWindowProcA itself, with or without a tooltip tool.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace bare {

constexpr char kHostClass[] = "StrappaBenchHost";
constexpr char kPaintClass[] = "StrappaBenchBarePaint";
constexpr char kStripPaintClass[] = "StrappaBenchBareStripPaint";
constexpr char kDefaultClass[] = "StrappaBenchBareDefault";

// Text the bare paints draw: the band's title is drawn from the same caption.
inline const char* paintText = "";
// 16x16 images that the strip paint draws, eight of them, where the band draws its buttons.
inline HIMAGELIST stripImages = nullptr;
constexpr int kStripButtons = 8;
constexpr int kButtonCell = 18;

inline void paintBuffered(HWND window, HIMAGELIST images) {
    PAINTSTRUCT paint;
    HDC windowDC = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HDC memory = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; images && i < kStripButtons; ++i) {
        ImageList_Draw(images, i, memory, kButtonCell * i + 1, client.bottom / 2 - 8,
                       ILD_TRANSPARENT);
    }
    SetBkMode(memory, TRANSPARENT);
    DrawTextA(memory, paintText, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    BitBlt(windowDC, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(window, &paint);
}

inline LRESULT CALLBACK paintProcedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    paintBuffered(window, nullptr);
    return 0;
}

inline LRESULT CALLBACK stripPaintProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    paintBuffered(window, stripImages);
    return 0;
}

inline void registerClasses(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));

    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);

    windowClass.lpszClassName = kDefaultClass;
    RegisterClassA(&windowClass);

    // Same class styles as the band's window, so that resizes redraw alike.
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = paintProcedure;
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = kPaintClass;
    RegisterClassA(&windowClass);

    windowClass.lpfnWndProc = stripPaintProcedure;
    windowClass.lpszClassName = kStripPaintClass;
    RegisterClassA(&windowClass);
}

// A visible top-level window with the given client size, the stand-in for the taskbar.
inline HWND createHost(HINSTANCE instance, const char* caption, int x, int y, int width,
                       int height) {
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kHostClass, caption, style, x, y, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

inline HWND createChild(HINSTANCE instance, const char* className, HWND parent) {
    RECT client;
    GetClientRect(parent, &client);
    return CreateWindowExA(0, className, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0,
                           client.right, client.bottom, parent, nullptr, instance, nullptr);
}

// A tooltip control with one tool over the whole window that subclasses it, as the band's
// does: every mouse message the window gets is relayed to the control.
inline HWND addSubclassingTool(HINSTANCE instance, HWND window, const char* text) {
    HWND control = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   instance, nullptr);
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    GetClientRect(window, &tool.rect);
    tool.hinst = instance;
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(control, TTM_SETMAXTIPWIDTH, 0, 300);
    SendMessageA(control, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return control;
}

}  // namespace bare
